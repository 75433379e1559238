#include "core/barcode_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/barcode_math.h"
#include "resource.h"
#include "core/private_devmode.h"
#include "sim/sim_controls.h"
#include "tests/exchange_round_trip.h"

namespace {

using namespace plugin;

// ---- The arithmetic ----

struct HeightCase {
    std::uint32_t barHeight;
    int hriPosition;
    int hriFont;
    std::uint32_t stored;
    const char* millimetres;  // shown for the stored total
    const char* points;
};

TEST(BarcodeMath, TotalHeightSnapsToHalfPointsAndShowsItsFields) {
    const HeightCase cases[] = {
        {163, kHriNone, kHriFontA, 162, " 22.9", " 65.0"},   // 65.2 points round down to 65
        {162, kHriNone, kHriFontB, 162, " 22.9", " 65.0"},   // 64.8 points round up to 65
        {100, kHriBelow, kHriFontA, 123, " 17.4", " 49.0"},  // 49.6 -> 49.5; 123 dots read back as 49.2
        {50, kHriBoth, kHriFontB, 83, " 11.7", " 33.0"},     // 33.6 -> 33.5
        {100, kHriAbove, kHriFontB, 117, " 16.5", " 47.0"},  // 46.8 -> 47
        {1, kHriNone, kHriFontA, 1, "  0.1", "  0.5"},       // 0.4 points -> the half point
        {100, kHriNone, kHriFontA, 100, " 14.1", " 40.0"},   // whole points come back whole
        {0, kHriNone, kHriFontA, 2, "  0.3", "  1.0"},       // never a height of nothing
        // Totals of exactly X.4 points take the half point, however the
        // product of dots and points per dot rounds.
        {6, kHriNone, kHriFontA, 6, "  0.8", "  2.5"},      // 2.4 -> 2.5
        {41, kHriNone, kHriFontA, 41, "  5.8", " 16.5"},    // 16.4 -> 16.5
        {101, kHriNone, kHriFontA, 101, " 14.3", " 40.5"},  // 40.4 -> 40.5
    };
    for (const HeightCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "bar " << c.barHeight << " position " << c.hriPosition);
        const std::uint32_t stored = TotalHeight(c.barHeight, c.hriPosition, c.hriFont);
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(MillimetreText(stored), c.millimetres);
        EXPECT_EQ(PointText(stored), c.points);
    }
}

TEST(BarcodeMath, DefaultRecordShowsItsUnsnappedHeight) {
    EXPECT_EQ(MillimetreText(163), " 23.0");
    EXPECT_EQ(PointText(163), " 65.0");
}

// The texts are composed without the C library's printf, which the plug-in
// does not carry: they must read as "%5.1f" prints the same values, the
// exact halves of a tenth (every 90th height from 45) above all.
TEST(BarcodeMath, TextsReadAsPrintfPrintsThem) {
    const auto printed = [](double value) {
        char text[32] = {};
        std::snprintf(text, sizeof text, "%5.1f", value);
        return std::string(text);
    };
    const auto check = [&](std::uint32_t dots) {
        volatile double product = static_cast<double>(dots) * kMmPerInch;
        volatile double millimetres = product * kInchPerDot;
        if (MillimetreText(dots) != printed(millimetres)) {
            ADD_FAILURE() << dots << " dots: " << MillimetreText(dots) << " against " << printed(millimetres);
            return false;
        }
        if (PointText(dots) != printed(SnappedPoints(dots))) {
            ADD_FAILURE() << dots << " dots: " << PointText(dots) << " against " << printed(SnappedPoints(dots));
            return false;
        }
        return true;
    };
    for (std::uint32_t dots = 0; dots < 20000; ++dots) {
        if (!check(dots)) return;
    }
    for (std::uint32_t dots = 45; dots < 20000000; dots += 90) {
        if (!check(dots)) return;
    }
    ASSERT_TRUE(check(UINT32_MAX));
}

TEST(BarcodeMath, ClampsReadNegativeEntriesAsLarge) {
    struct Case {
        int value;
        std::uint32_t low, high, unsignedResult;
        std::uint8_t byteResult;
    };
    const Case cases[] = {
        {9, 2, 6, 6, 6},      {0, 2, 6, 2, 2},        {4, 2, 6, 4, 4},
        {-1, 1, 7, 7, 7},     {300, 1, 255, 255, 44},  // the 2D page sees only the byte 44
        {256, 3, 90, 90, 3},                           // byte 0: below the range
        {-250, 1, 30, 30, 6},                          // byte 6: within it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ClampUnsigned(c.value, c.low, c.high), c.unsignedResult);
        EXPECT_EQ(ClampLowByte(c.value, static_cast<std::uint8_t>(c.low), static_cast<std::uint8_t>(c.high)),
                  c.byteResult);
    }
}

// ---- The pages ----

template <typename Page>
struct PageFixture {
    PageFixture() { page.OnInit(sheet); }
    void Type(int id, std::string_view text) {
        sheet.Type(id, text);
        page.OnCommand(sheet, id, plat::kEnChange);
    }
    void Choose(int id, int index) {
        sheet.Select(id, index);
        page.OnCommand(sheet, id, plat::kCbnSelChange);
    }
    void Click(int id) { page.OnCommand(sheet, id, plat::kBnClicked); }
    int SpinPosition(int id) { return sheet.Get(id).positions.empty() ? -1 : sheet.Get(id).positions.back(); }

    PrivateDevmode devmode = DefaultPrivateDevmode();
    sim::SimControls sheet;
    Page page{devmode};
};
using Page1D = PageFixture<Barcode1DPage>;
using Page2D = PageFixture<Barcode2DPage>;

TEST(Barcode1DPage, OpensOnFontOneWithItsHeightFields) {
    Page1D p;
    EXPECT_EQ(p.sheet.SelectedText(IDC_BC1_FONT), "Código1 1D");
    EXPECT_EQ(p.sheet.ItemCount(IDC_BC1_TYPE), 9);
    EXPECT_EQ(p.sheet.ItemText(IDC_BC1_TYPE, 2), "EAN8");
    EXPECT_EQ(p.sheet.Text(IDC_BC1_HEIGHT), "163");
    EXPECT_EQ(p.sheet.Text(IDC_BC1_HEIGHT_MM), " 23.0");
    EXPECT_EQ(p.sheet.Text(IDC_BC1_HEIGHT_POINTS), " 65.0");
    EXPECT_FALSE(p.sheet.IsEnabled(IDC_BC1_FONT_A));
    EXPECT_TRUE(p.sheet.IsChecked(IDC_BC1_FONT_A));
    EXPECT_TRUE(p.sheet.sheetChanges.empty());
}

TEST(Barcode1DPage, EditsAreClampedStoredAndMarkTheSheet) {
    struct Case {
        int edit;
        const char* typed;
        std::uint32_t stored;
    };
    const Case cases[] = {
        {IDC_BC1_WIDTH, "9", 6},      {IDC_BC1_WIDTH, "0", 2},      {IDC_BC1_WIDTH, "-", 2},
        {IDC_BC1_HEIGHT, "0", 1},     {IDC_BC1_HEIGHT, "300", 255}, {IDC_BC1_HEIGHT, "-5", 255},
        {IDC_BC1_HEIGHT, "100", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.edit << " " << c.typed);
        Page1D p;
        p.Type(c.edit, c.typed);
        const Barcode1DSettings& record = p.devmode.barcode1D[0];
        if (c.edit == IDC_BC1_WIDTH) {
            EXPECT_EQ(record.bModuleWidth, c.stored);
            EXPECT_EQ(record.dwModuleWidthX8, c.stored * 8);
            EXPECT_EQ(record.dwTotalHeight, 163u) << "the width leaves the height alone";
            EXPECT_EQ(p.SpinPosition(IDC_BC1_WIDTH_SPIN), static_cast<int>(c.stored));
        } else {
            EXPECT_EQ(record.dwBarHeight, c.stored);
            EXPECT_EQ(record.dwTotalHeight, TotalHeight(c.stored, kHriNone, kHriFontA));
            EXPECT_EQ(p.SpinPosition(IDC_BC1_HEIGHT_SPIN), static_cast<int>(c.stored));
        }
        EXPECT_EQ(p.sheet.sheetChanges, std::vector<bool>{true});
    }
}

TEST(Barcode1DPage, HriChoicesRecomputeTheTotalAndApplyRefreshesTheFields) {
    Page1D p;
    p.Type(IDC_BC1_HEIGHT, "100");
    p.Choose(IDC_BC1_HRI_POSITION, kHriBelow);
    EXPECT_TRUE(p.sheet.IsEnabled(IDC_BC1_FONT_A));
    EXPECT_TRUE(p.sheet.IsEnabled(IDC_BC1_FONT_B));
    EXPECT_EQ(p.devmode.barcode1D[0].dwTotalHeight, 123u);
    EXPECT_EQ(p.sheet.Text(IDC_BC1_HEIGHT_POINTS), " 65.0") << "fields wait for apply";

    EXPECT_TRUE(p.page.OnApply(p.sheet));
    EXPECT_EQ(p.sheet.Text(IDC_BC1_HEIGHT_POINTS), " 49.0");
    EXPECT_EQ(p.sheet.sheetChanges.back(), false);

    p.Click(IDC_BC1_FONT_B);
    EXPECT_EQ(p.devmode.barcode1D[0].bHriFont, kHriFontB);
    EXPECT_EQ(p.devmode.barcode1D[0].dwTotalHeight, TotalHeight(100, kHriBelow, kHriFontB));

    p.Choose(IDC_BC1_HRI_POSITION, kHriNone);
    EXPECT_FALSE(p.sheet.IsEnabled(IDC_BC1_FONT_A));
    EXPECT_FALSE(p.sheet.IsEnabled(IDC_BC1_FONT_B));
    EXPECT_EQ(p.devmode.barcode1D[0].dwTotalHeight, TotalHeight(100, kHriNone, kHriFontB));
}

TEST(Barcode1DPage, ListChoiceIsStoredAtOnceForTheShownFontOnly) {
    Page1D p;
    p.Choose(IDC_BC1_FONT, 4);
    EXPECT_TRUE(p.sheet.sheetChanges.empty()) << "showing another font changes nothing";
    p.devmode.barcode1D[4].dwBarHeight = 77;
    p.Choose(IDC_BC1_FONT, 4);
    EXPECT_EQ(p.sheet.Text(IDC_BC1_HEIGHT), "77");

    const PrivateDevmode before = p.devmode;
    p.Choose(IDC_BC1_TYPE, 8);
    EXPECT_EQ(p.devmode.barcode1D[4].bType, 8);
    PrivateDevmode expected = before;
    expected.barcode1D[4].bType = 8;
    EXPECT_EQ(std::memcmp(&p.devmode, &expected, sizeof expected), 0) << "no other byte moves";
    EXPECT_EQ(p.sheet.sheetChanges, std::vector<bool>{true});
}

TEST(Barcode2DPage, EditsKeepTheLowByteAndClamp) {
    struct Case {
        int edit;
        const char* typed;
        std::uint8_t Barcode2DSettings::*field;
        std::uint8_t stored;
    };
    const Case cases[] = {
        {IDC_BC2_COLUMNS, "0", &Barcode2DSettings::bColumns, 1},
        {IDC_BC2_ROWS, "1", &Barcode2DSettings::bRows, 3},
        {IDC_BC2_ROWS, "99", &Barcode2DSettings::bRows, 90},
        {IDC_BC2_ROWS, "-1", &Barcode2DSettings::bRows, 90},
        {IDC_BC2_CELL_WIDTH, "9", &Barcode2DSettings::bCellWidth, 7},
        {IDC_BC2_CELL_HEIGHT, "12", &Barcode2DSettings::bCellHeight, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.edit << " " << c.typed);
        Page2D p;
        p.Choose(IDC_BC2_FONT, 1);
        p.Type(c.edit, c.typed);
        EXPECT_EQ(p.devmode.barcode2D[1].*c.field, c.stored);
        EXPECT_EQ(p.devmode.barcode2D[0].*c.field, DefaultPrivateDevmode().barcode2D[0].*c.field);
        EXPECT_EQ(p.sheet.sheetChanges, std::vector<bool>{true});
    }
}

TEST(Barcode2DPage, OpensWithItsListsAndStoresTheErrorLevel) {
    Page2D p;
    EXPECT_EQ(p.sheet.SelectedText(IDC_BC2_FONT), "Código1 2D");
    EXPECT_EQ(p.sheet.SelectedText(IDC_BC2_TYPE), "PDF417");
    EXPECT_EQ(p.sheet.Text(IDC_BC2_POINTS), "9.5");
    EXPECT_EQ(p.sheet.Text(IDC_BC2_ROWS_RANGE), "[ 3 . . 90 ]");
    p.Choose(IDC_BC2_ERROR_LEVEL, 8);
    EXPECT_EQ(p.devmode.barcode2D[0].bErrorLevel, 8);
    EXPECT_TRUE(p.page.OnApply(p.sheet));
    EXPECT_EQ(p.sheet.sheetChanges, (std::vector<bool>{true, false}));
}

// The shown font's record through the page, font 1 of each.
template <typename Page, typename Record>
exchange_test::DialogSteps<Record> OnFontOne(PageFixture<Page>& p, Record& (*font)(PrivateDevmode&)) {
    return {[&p, font](const Record& shown) -> sim::SimControls& {
                p.devmode = DefaultPrivateDevmode();
                font(p.devmode) = shown;
                p.sheet = sim::SimControls();
                p.page.OnInit(p.sheet);
                return p.sheet;
            },
            [&p](sim::SimControls& controls, int id, int code) { p.page.OnCommand(controls, id, code); },
            [&p](sim::SimControls& controls) { EXPECT_TRUE(p.page.OnApply(controls)); },
            [&p, font] { return font(p.devmode); }};
}

TEST(Barcode1DPage, ExchangesEveryControlWithItsField) {
    using S = Barcode1DSettings;
    using namespace exchange_test;
    const S sample{8, 6, {0, 0}, 255, kHriBoth, kHriFontB, {0, 0}, 48, 300};
    const Edit edits[] = {
        Pick(IDC_BC1_TYPE, 2, PLAT_FIELD(S, bType), 2),
        Type(IDC_BC1_WIDTH, "3", PLAT_FIELD(S, bModuleWidth), 3),
        Type(IDC_BC1_WIDTH, "9", PLAT_FIELD(S, bModuleWidth), 6),
        Type(IDC_BC1_WIDTH, "0", PLAT_FIELD(S, bModuleWidth), 2),
        Type(IDC_BC1_HEIGHT, "100", PLAT_FIELD(S, dwBarHeight), 100),
        Type(IDC_BC1_HEIGHT, "0", PLAT_FIELD(S, dwBarHeight), 1),
        Type(IDC_BC1_HEIGHT, "300", PLAT_FIELD(S, dwBarHeight), 255),
        Pick(IDC_BC1_HRI_POSITION, kHriAbove, PLAT_FIELD(S, bHriPosition), kHriAbove),
        Choose(IDC_BC1_FONT_A, PLAT_FIELD(S, bHriFont), kHriFontA),
        Choose(IDC_BC1_FONT_B, PLAT_FIELD(S, bHriFont), kHriFontB),
    };
    Page1D p;
    ExpectRoundTrip(OnFontOne<Barcode1DPage, S>(p, [](PrivateDevmode& d) -> S& { return d.barcode1D[0]; }), sample,
                    edits);
}

TEST(Barcode2DPage, ExchangesEveryControlWithItsField) {
    using S = Barcode2DSettings;
    using namespace exchange_test;
    const S sample{0, 7, 25, 30, 90, 8};
    const Edit edits[] = {
        Pick(IDC_BC2_ERROR_LEVEL, 3, PLAT_FIELD(S, bErrorLevel), 3),
        Type(IDC_BC2_CELL_WIDTH, "4", PLAT_FIELD(S, bCellWidth), 4),
        Type(IDC_BC2_CELL_WIDTH, "0", PLAT_FIELD(S, bCellWidth), 1),
        Type(IDC_BC2_CELL_WIDTH, "9", PLAT_FIELD(S, bCellWidth), 7),
        Type(IDC_BC2_CELL_HEIGHT, "12", PLAT_FIELD(S, bCellHeight), 12),
        Type(IDC_BC2_CELL_HEIGHT, "1", PLAT_FIELD(S, bCellHeight), 2),
        Type(IDC_BC2_CELL_HEIGHT, "99", PLAT_FIELD(S, bCellHeight), 25),
        Type(IDC_BC2_COLUMNS, "5", PLAT_FIELD(S, bColumns), 5),
        Type(IDC_BC2_COLUMNS, "0", PLAT_FIELD(S, bColumns), 1),
        Type(IDC_BC2_COLUMNS, "99", PLAT_FIELD(S, bColumns), 30),
        Type(IDC_BC2_ROWS, "40", PLAT_FIELD(S, bRows), 40),
        Type(IDC_BC2_ROWS, "1", PLAT_FIELD(S, bRows), 3),
        Type(IDC_BC2_ROWS, "99", PLAT_FIELD(S, bRows), 90),
    };
    Page2D p;
    ExpectRoundTrip(OnFontOne<Barcode2DPage, S>(p, [](PrivateDevmode& d) -> S& { return d.barcode2D[0]; }), sample,
                    edits);
}

}  // namespace
