#pragma once
// The control-font file as a test sees it: the entries of the one section,
// in file order, or no file at all.
#include <optional>

#include "core/control_font_file.h"
#include "text.h"

namespace plugin_test {

class FakeControlFontFile : public plugin::ControlFontFile {
public:
    std::string Read(std::string_view key) override {
        if (!entries) return {};
        for (const auto& [name, value] : *entries) {
            if (plat::EqualsNoCase(name, key)) return value;
        }
        return {};
    }
    bool WriteAll(const std::vector<plugin::ControlFontEntry>& table) override {
        ++writes;
        if (failWrites) return false;
        if (table.empty()) {
            entries.reset();
        } else {
            entries = table;
        }
        return true;
    }

    std::optional<std::vector<plugin::ControlFontEntry>> entries;  // none: no file
    bool failWrites = false;
    int writes = 0;
};

}  // namespace plugin_test
