#include "core/printer_fonts_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "sim/sim_controls.h"

namespace {

using namespace plugin;

// A tree that keeps what it was given, item numbers counted from 0 since
// the last Clear.
struct RecordingTree : FontTree {
    struct Item {
        int parent;
        std::string text;
        int image;
        bool operator==(const Item&) const = default;
    };
    void Clear() override {
        items.clear();
        expanded.clear();
        selected = -1;
    }
    void AttachImages() override { ++imagesAttached; }
    int Add(int parent, std::string_view text, int image) override {
        if (refuseFrom >= 0 && static_cast<int>(items.size()) >= refuseFrom) return -1;
        items.push_back({parent, std::string(text), image});
        return static_cast<int>(items.size()) - 1;
    }
    void Expand(int item) override { expanded.push_back(item); }
    void Select(int item) override { selected = item; }

    std::vector<Item> items;
    std::vector<int> expanded;
    int selected = -1;
    int imagesAttached = 0;
    int refuseFrom = -1;  // the tree takes no item from this count on
};

// The whole tree as the page shows it: the root (item 0), the faces (1, 9,
// 17) each followed by its sizes.
const std::vector<RecordingTree::Item> kExpectedTree = {
    {-1, "Fontes da Impressora e Tamanho das Fontes", 0},
    {0, "Font A", 1},
    {1, "FontA11    9.5", 2},
    {1, "FontA12    19.0", 2},
    {1, "FontA21    9.5", 2},
    {1, "FontA22   19.0", 2},
    {1, "FontA24   38.5", 2},
    {1, "FontA42   19.0", 2},
    {1, "FontA44   38.5", 2},
    {0, "Font B", 1},
    {9, "FontB11    7.0", 2},
    {9, "FontB12    13.5", 2},
    {9, "FontB21    7.0", 2},
    {9, "FontB22   13.5", 2},
    {9, "FontB24   27.0", 2},
    {9, "FontB42   13.5", 2},
    {9, "FontB44   27.0", 2},
    {0, "Control Font", 1},
    {17, "Control    1.0", 2},
};

// The hidden list's rows: name, size.
const std::vector<std::vector<std::string>> kExpectedRows = {
    {"FontA11", "9.5"},  {"FontA12", "19.0"}, {"FontA21", "9.5"},  {"FontA22", "19.0"}, {"FontA24", "38.5"},
    {"FontA42", "19.0"}, {"FontA44", "38.5"}, {"FontB11", "7.0"},  {"FontB12", "13.5"}, {"FontB21", "7.0"},
    {"FontB22", "13.5"}, {"FontB24", "27.0"}, {"FontB42", "13.5"}, {"FontB44", "27.0"}, {"Control", "1.0"},
};

struct FontsFixture : ::testing::Test {
    std::vector<std::vector<std::string>> Rows() {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < sheet.ItemCount(IDC_FONT_LIST); ++i) {
            rows.push_back({sheet.ItemText(IDC_FONT_LIST, i, kFontNameColumn),
                            sheet.ItemText(IDC_FONT_LIST, i, kFontPointColumn)});
        }
        return rows;
    }

    RecordingTree tree;
    sim::SimControls sheet;
    PrinterFontsPage page{tree};
};

TEST_F(FontsFixture, InitShowsEveryResidentFontOnceHoweverOftenItRuns) {
    sheet.AddItem(IDC_FONT_LIST, "left over");
    tree.Add(kFontTreeTop, "left over", 0);
    for (int run = 1; run <= 2; ++run) {
        page.OnInit(sheet);
        EXPECT_EQ(tree.items, kExpectedTree) << "run " << run;
        EXPECT_EQ(tree.expanded, (std::vector<int>{0, 1, 9, 17})) << "the root and the three faces";
        EXPECT_EQ(tree.selected, 0) << "the root";
        EXPECT_EQ(tree.imagesAttached, run);
        EXPECT_EQ(Rows(), kExpectedRows) << "run " << run;
    }
}

TEST_F(FontsFixture, CommandsAndApplyChangeNothing) {
    page.OnInit(sheet);
    const auto controlsBefore = sheet.controls.size();
    for (int id : {IDC_FONT_TREE, IDC_FONT_LIST, 1, 0}) {
        for (int code : {plat::kBnClicked, plat::kListDoubleClick}) page.OnCommand(sheet, id, code);
    }
    EXPECT_TRUE(page.OnSetActive(sheet));
    EXPECT_TRUE(page.OnKillActive(sheet));
    EXPECT_TRUE(page.OnApply(sheet));
    EXPECT_EQ(tree.items, kExpectedTree);
    EXPECT_EQ(Rows(), kExpectedRows);
    EXPECT_EQ(sheet.controls.size(), controlsBefore) << "no control touched";
    EXPECT_TRUE(sheet.boxes.empty());
    EXPECT_TRUE(sheet.sheetChanges.empty());
}

// A tree that stops taking items part-way: no size lands under the wrong
// parent, nothing refused is expanded or selected, and the list still
// holds every font.
TEST_F(FontsFixture, ItemsTheTreeRefusesLeaveNoOrphans) {
    for (int refuseFrom : {0, 1, 9, 10}) {
        SCOPED_TRACE(refuseFrom);
        tree.refuseFrom = refuseFrom;
        page.OnInit(sheet);
        ASSERT_EQ(tree.items.size(), static_cast<std::size_t>(refuseFrom));
        for (std::size_t i = 0; i < tree.items.size(); ++i) EXPECT_EQ(tree.items[i], kExpectedTree[i]);
        for (int item : tree.expanded) EXPECT_LT(item, refuseFrom);
        EXPECT_EQ(tree.selected, refuseFrom > 0 ? 0 : -1);
        EXPECT_EQ(Rows(), kExpectedRows);
    }
}

}  // namespace
