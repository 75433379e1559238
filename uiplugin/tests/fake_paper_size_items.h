#pragma once
// The driver's paper-size items for the page tests: each item's form names
// and current choice, and every update the driver was told of, in order.
#include <string>
#include <vector>

#include "core/paper_size_items.h"

namespace plugin_test {

class FakePaperSizeItems : public plugin::PaperSizeItems {
public:
    struct Item {
        std::vector<std::string> choices;
        int sel = 0;
        bool changed = false;  // OPTIF_CHANGED
    };
    struct Update {
        int item;
        int sel;
        bool operator==(const Update&) const = default;
    };

    int ItemCount() override { return static_cast<int>(items.size()); }
    std::vector<std::string> Choices(int item) override { return items.at(item).choices; }
    int Selection(int item) override { return items.at(item).sel; }
    void Select(int item, int choice) override {
        Item& target = items.at(item);
        // What the driver would do with a choice outside its list: read past it.
        if (choice < 0 || choice >= static_cast<int>(target.choices.size())) outOfRange = true;
        target.sel = choice;
        target.changed = true;
        updates.push_back({item, choice});
    }
    // The form item `item` currently names, or "" when its Sel is outside its list.
    std::string Current(int item) const {
        const Item& it = items.at(item);
        return it.sel >= 0 && it.sel < static_cast<int>(it.choices.size()) ? it.choices[it.sel] : std::string();
    }

    std::vector<Item> items;
    std::vector<Update> updates;
    bool outOfRange = false;
};

}  // namespace plugin_test
