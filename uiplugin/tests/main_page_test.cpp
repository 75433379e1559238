#include "core/main_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/record_text.h"
#include "resource.h"
#include "sim/sim_controls.h"
#include "tests/exchange_round_trip.h"
#include "tests/fake_paper_size_items.h"

namespace {

using plugin::MainPage;
using plugin::PrivateDevmode;
using plugin::ReadRecordText;
using plugin::StoreRecordText;
using plugin_test::FakePaperSizeItems;
using Items = std::vector<std::string>;
using Update = FakePaperSizeItems::Update;

constexpr const char* kUserForm = "Tamanho do papel - OLVEN";
constexpr int kNoSelection = -1;

struct MainPageFixture {
    // Two items, as a driver may show the paper size in two places; the
    // user form is in both, at different positions.
    MainPageFixture() { paper.items = {{{"Carta", "A4 Extra", "A4", kUserForm}, 1}, {{"A4", kUserForm, "Ofício"}, 0}}; }
    void Start() {
        page.OnInit(controls);
        page.OnSetActive(controls);
    }
    void Pick(int index) {
        controls.Select(IDC_PAPER_SIZE, index);
        page.OnCommand(controls, IDC_PAPER_SIZE, plat::kCbnSelChange);
    }
    // An automatic radio button or check box as the user clicks it.
    void Click(int id) {
        const int partner = id == IDC_ROTATE_NORMAL ? IDC_ROTATE_180 : id == IDC_ROTATE_180 ? IDC_ROTATE_NORMAL : 0;
        if (partner != 0) {
            controls.SetCheck(id, true);
            controls.SetCheck(partner, false);
        } else {
            controls.SetCheck(id, !controls.IsChecked(id));
        }
        page.OnCommand(controls, id, plat::kBnClicked);
    }
    std::string FormName() const { return ReadRecordText(devmode.szFormName); }
    void SetFormName(std::string_view name) { StoreRecordText(devmode.szFormName, name); }

    PrivateDevmode devmode = plugin::DefaultPrivateDevmode();
    FakePaperSizeItems paper;
    sim::SimControls controls;
    MainPage page{devmode, paper};
};

TEST(MainPageList, FilledFromEveryItemAndSelectedFromTheRecordOrTheDriver) {
    struct Case {
        const char* what;
        const char* formName;
        int secondItemSel;
        int selected;  // after the page's initialisation
    } cases[] = {
        {"no stored name: the last item's current choice", "", 0, 4},
        {"no stored name, last item's Sel outside its list: the first item's", "", 7, 1},
        {"stored name, other case", "tamanho do papel - olven", 0, 3},
        {"stored name as a prefix", "Tamanho", 0, 3},
        {"an exact name beats an earlier entry it is the prefix of", "A4", 0, 2},
        {"stored name not in the list: no selection", "Executivo", 0, kNoSelection},
    };
    for (const auto& c : cases) {
        MainPageFixture f;
        f.paper.items[1].sel = c.secondItemSel;
        f.SetFormName(c.formName);
        f.controls.Select(IDC_PAPER_SIZE, 0);  // left over from before: the page empties the list
        f.page.OnInit(f.controls);
        EXPECT_EQ(f.controls.Get(IDC_PAPER_SIZE).items,
                  (Items{"Carta", "A4 Extra", "A4", kUserForm, "A4", kUserForm, "Ofício"}))
            << c.what;
        EXPECT_EQ(f.controls.Selection(IDC_PAPER_SIZE), c.selected) << c.what;
        EXPECT_TRUE(f.paper.updates.empty()) << c.what;
        EXPECT_TRUE(f.controls.sheetChanges.empty()) << c.what;
    }
}

TEST(MainPageList, PickingAFormUpdatesEveryItemThatHoldsItAndTheRecord) {
    struct Case {
        const char* what;
        int index;
        std::vector<Update> updates;
        const char* formName;
        int secondItemSel;
    } cases[] = {
        {"the user form in the first item's part", 3, {{0, 3}, {1, 1}}, kUserForm, 1},
        {"the user form in the second item's part", 5, {{0, 3}, {1, 1}}, kUserForm, 1},
        {"a form only the first item has", 0, {{0, 0}}, "Carta", 0},
        {"a form only the second item has", 6, {{1, 2}}, "Ofício", 2},
    };
    for (const auto& c : cases) {
        MainPageFixture f;
        f.Start();
        f.Pick(c.index);
        EXPECT_EQ(f.paper.updates, c.updates) << c.what;
        EXPECT_FALSE(f.paper.outOfRange) << c.what;
        for (const Update& update : c.updates) EXPECT_TRUE(f.paper.items[update.item].changed) << c.what;
        EXPECT_EQ(f.paper.items[1].sel, c.secondItemSel) << c.what;
        EXPECT_EQ(f.FormName(), c.formName) << c.what;
        EXPECT_EQ(f.controls.sheetChanges, std::vector<bool>{true}) << c.what;
    }
}

TEST(MainPageList, ApplyLeavesTheDriverAndTheRecordNamingTheSameForm) {
    struct Case {
        const char* what;
        const char* formName;
        bool showPage;
        int pick;                // list index, or -1 for none
        int driverChangedFirst;  // the first item's Sel set on the driver's own page, or -1
    } cases[] = {
        {"after picking the user form", "", true, 3, -1},
        {"after picking a form of the first item only", "", true, 1, -1},
        {"the driver's own page changed the paper size", "Carta", true, -1, 2},
        {"a stored name the driver does not know, page never shown", "Executivo", false, -1, -1},
        {"a stored name the driver does not know, page shown", "Executivo", true, -1, -1},
    };
    for (const auto& c : cases) {
        MainPageFixture f;
        f.paper.items[1].sel = 1;  // both items on the user form
        f.paper.items[0].sel = 3;
        f.SetFormName(c.formName);
        f.page.OnInit(f.controls);
        if (c.driverChangedFirst >= 0) f.paper.items[0].sel = c.driverChangedFirst;
        if (c.showPage) f.page.OnSetActive(f.controls);
        if (c.pick >= 0) f.Pick(c.pick);
        EXPECT_TRUE(f.page.OnKillActive(f.controls)) << c.what;
        EXPECT_TRUE(f.page.OnApply(f.controls)) << c.what;
        EXPECT_FALSE(f.FormName().empty()) << c.what;
        for (int item = 0; item < 2; ++item) {
            // An item without the chosen form keeps its own.
            const Items& choices = f.paper.items[item].choices;
            if (std::find(choices.begin(), choices.end(), f.FormName()) == choices.end()) continue;
            EXPECT_EQ(f.paper.Current(item), f.FormName()) << c.what << ", item " << item;
        }
        EXPECT_FALSE(f.paper.outOfRange) << c.what;
        EXPECT_EQ(f.controls.sheetChanges.back(), false) << c.what;
    }
}

TEST(MainPageList, LongFormNamesAreCutInsideTheField) {
    const std::string forty = "Formulario de quarenta caracteres - 0040";
    ASSERT_EQ(forty.size(), 40u);
    struct Case {
        const char* what;
        std::string name;
        std::string stored;
    } cases[] = {
        {"31 characters fit", forty.substr(0, 31), forty.substr(0, 31)},
        {"40 characters are cut to 31", forty, forty.substr(0, 31)},
        {"accents are one unit each", "Ofício nº 2 — meia folha ção ção ção", "Ofício nº 2 — meia folha ção çã"},
        // U+1D11E takes two units; at units 31 and 32 it does not fit whole.
        {"a character of two units is not split", forty.substr(0, 30) + "\xF0\x9D\x84\x9E" + "x", forty.substr(0, 30)},
    };
    for (const auto& c : cases) {
        MainPageFixture f;
        f.paper.items = {{{"Carta", c.name}, 0}};
        f.devmode.bZoomPrinting = 0;
        f.devmode.padding6 = 0xA5;
        f.Start();
        std::uint8_t before[sizeof(PrivateDevmode)];
        std::memcpy(before, &f.devmode, sizeof before);
        f.Pick(1);
        EXPECT_EQ(f.FormName(), c.stored) << c.what;
        EXPECT_EQ(f.devmode.szFormName[31], u'\0') << c.what;
        // Nothing but the field changed: neither bZoomPrinting nor the padding after it.
        const std::size_t field = offsetof(PrivateDevmode, szFormName);
        const auto* after = reinterpret_cast<const std::uint8_t*>(&f.devmode);
        EXPECT_EQ(std::memcmp(before, after, field), 0) << c.what;
        EXPECT_EQ(std::memcmp(before + field + 64, after + field + 64, sizeof before - field - 64), 0) << c.what;

        // The cut name still finds its form the next time the page starts.
        MainPageFixture again;
        again.paper.items = {{{"Carta", c.name}, 0}};
        again.devmode = f.devmode;
        again.page.OnInit(again.controls);
        EXPECT_EQ(again.controls.Selection(IDC_PAPER_SIZE), 1) << c.what;
    }
}

TEST(MainPageText, RotationZoomAndWatermarkPrintTextAsGraphics) {
    enum Action { kShow, kRotate, kRotateThenNormal, kZoomOn, kZoomOnThenOff };
    struct Case {
        const char* what;
        std::uint8_t watermark, textAsGraphics;
        Action action;
        bool message;
        bool radiosEnabled;
        bool yesChecked;
        std::uint8_t rotate, zoom;
    } cases[] = {
        {"nothing forces it", 0, 0, kShow, false, true, false, 0, 0},
        {"a watermark forces it when the page is shown", 2, 0, kShow, false, false, true, 0, 0},
        {"rotation, text was not graphics: told", 0, 0, kRotate, true, false, true, 1, 0},
        {"rotation, text was graphics: not told", 0, 1, kRotate, false, false, true, 1, 0},
        {"rotation back to normal frees the radios", 0, 0, kRotateThenNormal, true, true, true, 0, 0},
        {"rotation back to normal with a watermark", 1, 1, kRotateThenNormal, false, false, true, 0, 0},
        {"zoom, text was not graphics: told", 0, 0, kZoomOn, true, false, true, 0, 1},
        {"zoom, text was graphics: not told", 0, 1, kZoomOn, false, false, true, 0, 1},
        {"zoom off again frees the radios", 0, 0, kZoomOnThenOff, true, true, true, 0, 0},
    };
    for (const auto& c : cases) {
        MainPageFixture f;
        f.devmode.bWatermarkType = c.watermark;
        f.devmode.bTextAsGraphics = c.textAsGraphics;
        f.Start();
        switch (c.action) {
            case kShow:
                break;
            case kRotate:
                f.Click(IDC_ROTATE_180);
                break;
            case kRotateThenNormal:
                f.Click(IDC_ROTATE_180);
                f.Click(IDC_ROTATE_NORMAL);
                break;
            case kZoomOn:
                f.Click(IDC_ZOOM_PRINTING);
                break;
            case kZoomOnThenOff:
                f.Click(IDC_ZOOM_PRINTING);
                f.Click(IDC_ZOOM_PRINTING);
                break;
        }
        ASSERT_EQ(f.controls.boxes.size(), c.message ? 1u : 0u) << c.what;
        if (c.message) {
            EXPECT_EQ(f.controls.boxes[0].text, "Todo texto será impresso como gráfico!") << c.what;
            EXPECT_EQ(f.controls.boxes[0].caption, "informação") << c.what;
            EXPECT_EQ(f.controls.boxes[0].style, plat::kMbIconInformation) << c.what;
        }
        EXPECT_EQ(f.controls.IsEnabled(IDC_TEXT_AS_GRAPHICS_YES), c.radiosEnabled) << c.what;
        EXPECT_EQ(f.controls.IsEnabled(IDC_TEXT_AS_GRAPHICS_NO), c.radiosEnabled) << c.what;
        EXPECT_EQ(f.controls.IsChecked(IDC_TEXT_AS_GRAPHICS_YES), c.yesChecked) << c.what;
        EXPECT_EQ(f.controls.IsChecked(IDC_TEXT_AS_GRAPHICS_NO), !c.yesChecked) << c.what;
        EXPECT_EQ(f.devmode.bTextAsGraphics, c.yesChecked ? 1 : 0) << c.what;
        EXPECT_EQ(f.devmode.bRotate180, c.rotate) << c.what;
        EXPECT_EQ(f.devmode.bZoomPrinting, c.zoom) << c.what;
        EXPECT_EQ(f.controls.IsEnabled(IDC_ZOOM_PERCENT), c.action == kZoomOn) << c.what;
        EXPECT_EQ(f.controls.sheetChanges.empty(), c.action == kShow) << c.what;
        EXPECT_EQ(std::count(f.controls.sheetChanges.begin(), f.controls.sheetChanges.end(), false), 0) << c.what;
    }
}

TEST(MainPageText, TheRadiosSetTheRecordAndApplyKeepsTheRotation) {
    MainPageFixture f;
    f.Start();
    f.Click(IDC_TEXT_AS_GRAPHICS_YES);
    EXPECT_EQ(f.devmode.bTextAsGraphics, 1);
    f.Click(IDC_TEXT_AS_GRAPHICS_NO);
    EXPECT_EQ(f.devmode.bTextAsGraphics, 0);
    EXPECT_EQ(f.controls.sheetChanges, (std::vector<bool>{true, true}));

    // Rotation is off on the page, but a record that holds it keeps it.
    MainPageFixture rotated;
    rotated.devmode.bRotate180 = 1;
    rotated.devmode.bZoomPrinting = 1;
    rotated.Start();
    EXPECT_TRUE(rotated.controls.IsChecked(IDC_ROTATE_180));
    EXPECT_FALSE(rotated.controls.IsEnabled(IDC_ROTATE_180));
    EXPECT_FALSE(rotated.controls.IsChecked(IDC_ZOOM_PRINTING));
    EXPECT_FALSE(rotated.controls.IsEnabled(IDC_ZOOM_PRINTING));
    EXPECT_FALSE(rotated.controls.IsEnabled(IDC_ZOOM_PERCENT));
    EXPECT_TRUE(rotated.page.OnApply(rotated.controls));
    EXPECT_EQ(rotated.devmode.bRotate180, 1);
    EXPECT_EQ(rotated.devmode.bZoomPrinting, 1);
}

TEST(MainPageZoom, PercentIsLimitedAndClamped) {
    struct Case {
        const char* typed;
        std::uint8_t percent;
    } cases[] = {{"75", 75}, {"100", 100}, {"150", 100}, {"999", 100}, {"1000", 100}, {"", 0}};
    for (const auto& c : cases) {
        MainPageFixture f;
        f.devmode.bZoomPercent = 42;
        f.Start();
        EXPECT_EQ(f.controls.Get(IDC_ZOOM_PERCENT).textLimit, 3) << c.typed;
        EXPECT_EQ(f.controls.Text(IDC_ZOOM_PERCENT), "42") << c.typed;
        f.controls.Type(IDC_ZOOM_PERCENT, c.typed);
        f.page.OnCommand(f.controls, IDC_ZOOM_PERCENT, plat::kEnChange);
        EXPECT_EQ(f.devmode.bZoomPercent, c.percent) << c.typed;
        EXPECT_EQ(f.controls.sheetChanges, std::vector<bool>{true}) << c.typed;
    }
}

TEST(MainPage, ExchangesEveryControlWithItsField) {
    using S = PrivateDevmode;
    using namespace exchange_test;
    S sample = plugin::DefaultPrivateDevmode();
    StoreRecordText(sample.szFormName, "A4");
    sample.bRotate180 = 1;
    sample.bTextAsGraphics = 1;
    sample.bZoomPrinting = 1;
    sample.bZoomPercent = 100;
    const Edit edits[] = {
        Choose(IDC_ROTATE_NORMAL, PLAT_FIELD(S, bRotate180), 0),
        Choose(IDC_ROTATE_180, PLAT_FIELD(S, bRotate180), 1),
        Choose(IDC_TEXT_AS_GRAPHICS_NO, PLAT_FIELD(S, bTextAsGraphics), 0),
        Choose(IDC_TEXT_AS_GRAPHICS_YES, PLAT_FIELD(S, bTextAsGraphics), 1),
        Tick(IDC_ZOOM_PRINTING, false, PLAT_FIELD(S, bZoomPrinting), 0),
        Type(IDC_ZOOM_PERCENT, "42", PLAT_FIELD(S, bZoomPercent), 42),
        Type(IDC_ZOOM_PERCENT, "150", PLAT_FIELD(S, bZoomPercent), 100),
    };
    S devmode{};
    FakePaperSizeItems paper;
    sim::SimControls controls;
    std::optional<MainPage> page;
    const DialogSteps<S> steps{
        .show = [&](const S& shown) -> sim::SimControls& {
            devmode = shown;
            paper.items = {{{"Carta", "A4"}, 1}};
            controls = sim::SimControls();
            page.emplace(devmode, paper);
            page->OnInit(controls);
            page->OnSetActive(controls);
            return controls;
        },
        .command = [&](sim::SimControls& c, int id, int code) { page->OnCommand(c, id, code); },
        .apply = [&](sim::SimControls& c) { EXPECT_TRUE(page->OnApply(c)); },
        .held = [&] { return devmode; },
    };
    ExpectRoundTrip(steps, sample, edits);
}

}  // namespace
