#include <gtest/gtest.h>

#include <cstring>

#include "core/logo_bitmap.h"
#include "core/bmp_format.h"
#include "test_bitmaps.h"

namespace {

using namespace plugin;
using Bytes = std::vector<std::uint8_t>;

// A valid 1-bit bitmap file: file header, information header, the palette
// black then white, rows padded to 4 bytes and stored bottom-up. `picture`
// lists the rows from the top, 'X' for a printed dot (a 0 bit, palette entry
// 0). Unused bits and padding are left 0, so any that the conversion fails to
// blank come out as printed dots.
Bytes Bitmap(const std::vector<std::string>& picture) {
    const auto height = static_cast<std::uint32_t>(picture.size());
    const auto width = static_cast<std::uint32_t>(picture.empty() ? 0 : picture[0].size());
    const std::uint32_t stride = 4 * ((width + 31) / 32);
    Bytes file = plugin_test::BlankBmp(static_cast<int>(width), static_cast<int>(height), 1, 62);
    PutU32(file, 58, 0x00FFFFFF);  // palette entry 1: white
    for (std::uint32_t r = 0; r < height; ++r) {
        std::uint8_t* row = file.data() + 62 + (height - 1 - r) * stride;
        for (std::uint32_t x = 0; x < width; ++x) {
            if (picture[r][x] != 'X') row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return file;
}

// A picture of `width` × `height` dots, every dot printed.
Bytes Solid(int width, int height) {
    return Bitmap(std::vector<std::string>(static_cast<std::size_t>(height), std::string(width, 'X')));
}

Bytes Converted(const Bytes& file) {
    const LogoAcceptance accepted = AcceptLogo(file, 0);
    EXPECT_EQ(accepted.verdict, LogoVerdict::kAccepted);
    return ConvertLogo(file, accepted.geometry);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// --- Conversion to the printer's columns -----------------------------------

TEST(LogoConversion, EightByEightIsOneBandOf32Columns) {
    // A diagonal from the top left: column x prints at dot x from the top.
    const Bytes file =
        Bitmap({"X.......", ".X......", "..X.....", "...X....", "....X...", ".....X..", "......X.", ".......X"});
    Bytes expected{0x04, 0x00, 0x01, 0x00, 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    expected.resize(4 + 32, 0);
    EXPECT_EQ(Converted(file), expected);
}

TEST(LogoConversion, PartialBandLeavesBlankDotsAtTheTop) {
    // Ten rows: two bands, the six blank dots above the picture; the top row
    // lands on dot 6 of band 0, the bottom row on dot 7 of band 1.
    std::vector<std::string> picture(10, "........");
    picture.front() = "XXXXXXXX";
    picture.back() = "XXXXXXXX";
    Bytes expected{0x04, 0x00, 0x02, 0x00};
    for (int x = 0; x < 32; ++x) {
        expected.push_back(x < 8 ? 0x02 : 0x00);
        expected.push_back(x < 8 ? 0x01 : 0x00);
    }
    EXPECT_EQ(Converted(Bitmap(picture)), expected);
}

struct WidthRow {
    int width;
    std::uint8_t strideLow;  // header byte 0
};

class LogoWidths : public ::testing::TestWithParam<WidthRow> {};

// A solid picture prints exactly its own columns: the kept bits of a partial
// byte and nothing of the padding up to the next 32 dots.
TEST_P(LogoWidths, PrintOnlyThePictureColumns) {
    const WidthRow row = GetParam();
    const Bytes logo = Converted(Solid(row.width, 8));
    ASSERT_EQ(logo.size(), 4u + 8u * row.strideLow);
    EXPECT_EQ(Bytes(logo.begin(), logo.begin() + 4), (Bytes{row.strideLow, 0x00, 0x01, 0x00}));
    for (std::size_t x = 0; x < 8u * row.strideLow; ++x) {
        EXPECT_EQ(logo[4 + x], x < static_cast<std::size_t>(row.width) ? 0xFF : 0x00) << "column " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(PaddingAndKeptBits, LogoWidths,
                         ::testing::Values(WidthRow{1, 4}, WidthRow{7, 4}, WidthRow{8, 4}, WidthRow{9, 4},
                                           WidthRow{31, 4}, WidthRow{32, 4}, WidthRow{33, 8}),
                         [](const auto& info) { return "Width" + std::to_string(info.param.width); });

TEST(LogoConversion, WidestAndHighestPicturesAreTaken) {
    const Bytes wide = Converted(Solid(kMaxLogoWidth, 1));
    ASSERT_EQ(wide.size(), 4u + 1024u * 8u);
    EXPECT_EQ(Bytes(wide.begin(), wide.begin() + 4), (Bytes{0x00, 0x04, 0x01, 0x00}));
    EXPECT_EQ(wide[4 + kMaxLogoWidth - 1], 0x01);  // one row, at the bottom of its band
    EXPECT_EQ(wide.back(), 0x00);

    const Bytes high = Converted(Solid(1, kMaxLogoHeight));
    ASSERT_EQ(high.size(), 4u + 32u * 288u);
    EXPECT_EQ(Bytes(high.begin(), high.begin() + 4), (Bytes{0x04, 0x00, 0x20, 0x01}));
}

TEST(LogoConversion, PixelsComeFromTheOffsetTheHeaderGives) {
    // A larger information header moves the rows; its bytes are not pixels
    // (read as pixels, these would print nothing).
    Bytes file = Bitmap({"X"});
    file.insert(file.begin() + 62, 16, 0xFF);
    PutU32(file, 2, static_cast<std::uint32_t>(file.size()));
    PutU32(file, 10, 62 + 16);
    Bytes expected{0x04, 0x00, 0x01, 0x00, 0x01};
    expected.resize(4 + 32, 0);
    EXPECT_EQ(Converted(file), expected);
}

// --- "Adicionar" ------------------------------------------------------------

struct RefusalRow {
    const char* name;
    Bytes file;
    std::size_t rowsHeld;
    LogoVerdict verdict;
};

Bytes With(Bytes file, std::size_t at, std::uint32_t value, int width = 4) {
    if (width == 2) {
        PutU16(file, at, static_cast<std::uint16_t>(value));
    } else {
        PutU32(file, at, value);
    }
    return file;
}

Bytes Truncated(Bytes file, std::size_t size) {
    file.resize(size);
    return file;
}

const Bytes kEight = Solid(8, 8);  // 62 + 4 * 8 bytes

const RefusalRow kRefusals[] = {
    {"Accepted", kEight, 8, LogoVerdict::kAccepted},
    {"TenthLogo", kEight, 9, LogoVerdict::kListFull},
    {"EmptyFile", {}, 0, LogoVerdict::kShortRead},
    {"ShorterThanHeaders", Truncated(kEight, 61), 0, LogoVerdict::kShortRead},
    {"NotBM", With(kEight, 0, 'B' | 'A' << 8, 2), 0, LogoVerdict::kNotMonochrome},
    {"EightBitsPerPixel", With(kEight, 28, 8, 2), 0, LogoVerdict::kNotMonochrome},
    {"TooWide", Solid(kMaxLogoWidth + 1, 1), 0, LogoVerdict::kTooBig},
    {"TooHigh", Solid(1, kMaxLogoHeight + 1), 0, LogoVerdict::kTooBig},
    {"WidthZero", With(kEight, 18, 0), 0, LogoVerdict::kNotMonochrome},
    {"WidthNegative", With(kEight, 18, static_cast<std::uint32_t>(-8)), 0, LogoVerdict::kNotMonochrome},
    {"HeightZero", With(kEight, 22, 0), 0, LogoVerdict::kNotMonochrome},
    {"TopDown", With(kEight, 22, static_cast<std::uint32_t>(-8)), 0, LogoVerdict::kNotMonochrome},
    {"ClaimedSizeBeyondTheFile", With(kEight, 2, 62 + 32 + 1), 0, LogoVerdict::kShortRead},
    {"ClaimedSizeWithinTheHeaders", With(kEight, 2, 61), 0, LogoVerdict::kShortRead},
    {"ClaimedSizeShortOfTheRows", With(kEight, 2, 62 + 31), 0, LogoVerdict::kShortRead},
    {"OffsetBeyondTheFile", With(kEight, 10, 0xFFFFFFF0), 0, LogoVerdict::kShortRead},
    {"OffsetInsideTheHeaders", With(kEight, 10, 54), 0, LogoVerdict::kShortRead},
    {"OffsetLeavesTooFewRows", With(kEight, 10, 66), 0, LogoVerdict::kShortRead},
    {"LastRowMissing", With(Truncated(kEight, 62 + 28), 2, 62 + 28), 0, LogoVerdict::kShortRead},
    {"HeightClaimsMoreRows", With(kEight, 22, 9), 0, LogoVerdict::kShortRead},
    {"TrailingBytesAreHarmless", Concat({kEight, Bytes(5, 0xAA)}), 0, LogoVerdict::kAccepted},
};

class LogoAcceptanceRows : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(LogoAcceptanceRows, GiveTheirMessage) {
    const RefusalRow& row = GetParam();
    EXPECT_EQ(AcceptLogo(row.file, row.rowsHeld).verdict, row.verdict);
}

INSTANTIATE_TEST_SUITE_P(Files, LogoAcceptanceRows, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// --- "Baixar todos" ---------------------------------------------------------

struct BudgetRow {
    const char* name;
    std::vector<std::uint64_t> sizes;
    LogoVerdict verdict;
};

const BudgetRow kBudgets[] = {
    {"EmptyList", {}, LogoVerdict::kNoLogos},
    {"JustUnder", {65535}, LogoVerdict::kAccepted},
    {"ExactlyAtTheBudget", {65536}, LogoVerdict::kOverBudget},
    {"TwoHalvesReachIt", {32768, 32768}, LogoVerdict::kOverBudget},
    {"TwoUnder", {32767, 32768}, LogoVerdict::kAccepted},
    {"UnreadableSizeAfterTheBudget", {70000, 0}, LogoVerdict::kSizeUnknown},
    {"HugeSizesDoNotWrap", {2, UINT64_MAX - 1}, LogoVerdict::kOverBudget},
};

class LogoBudgets : public ::testing::TestWithParam<BudgetRow> {};

TEST_P(LogoBudgets, CountWholeFiles) {
    EXPECT_EQ(CheckLogoBudget(GetParam().sizes), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LogoBudgets, ::testing::ValuesIn(kBudgets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LogoJob, TwoLogosInListOrder) {
    const Bytes dot = Bitmap({"X"});
    const Bytes diagonal =
        Bitmap({"X.......", ".X......", "..X.....", "...X....", "....X...", ".....X..", "......X.", ".......X"});
    Bytes dotLogo{0x04, 0x00, 0x01, 0x00, 0x01};  // the single row sits at the band's bottom
    dotLogo.resize(4 + 32, 0);
    Bytes diagonalLogo{0x04, 0x00, 0x01, 0x00, 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    diagonalLogo.resize(4 + 32, 0);

    const std::vector<std::span<const std::uint8_t>> files{dot, diagonal};
    EXPECT_EQ(BuildLogoJob(files), Concat({{0x1C, 0x71, 0x02}, dotLogo, diagonalLogo, {0x0A}}));
}

TEST(LogoJob, NothingWhenAnyFileIsRefused) {
    const Bytes good = Solid(8, 8);
    const Bytes changed = With(good, 28, 4, 2);
    const std::vector<std::span<const std::uint8_t>> withBad{good, changed};
    EXPECT_EQ(BuildLogoJob(withBad), std::nullopt);
    EXPECT_EQ(BuildLogoJob({}), std::nullopt);
    const std::vector<std::span<const std::uint8_t>> ten(kMaxLogos + 1, good);
    EXPECT_EQ(BuildLogoJob(ten), std::nullopt);
}

TEST(LogoJob, ClearCommandIsFiveFixedBytes) {
    EXPECT_EQ(Bytes(kClearLogosCommand.begin(), kClearLogosCommand.end()), (Bytes{0x1C, 0x71, 0x00, 0x00, 0x0A}));
}

// --- "Apagar" ---------------------------------------------------------------

struct DeleteRow {
    const char* name;
    std::optional<std::size_t> selected;
    std::vector<std::string> namesLeft;
};

const DeleteRow kDeletes[] = {
    {"Middle", 1, {"a.bmp", "c.bmp"}},
    {"First", 0, {"b.bmp", "c.bmp"}},
    {"Last", 2, {"a.bmp", "b.bmp"}},
    {"NoSelection", std::nullopt, {"a.bmp", "b.bmp", "c.bmp"}},
    {"SelectionPastTheEnd", 3, {"a.bmp", "b.bmp", "c.bmp"}},
};

class LogoDeletes : public ::testing::TestWithParam<DeleteRow> {};

TEST_P(LogoDeletes, LeaveIdsOneToN) {
    std::vector<LogoRow> rows{{1, "a.bmp", "C:\\l\\a.bmp"}, {2, "b.bmp", "C:\\l\\b.bmp"}, {3, "c.bmp", "C:\\l\\c.bmp"}};
    DeleteLogoRow(rows, GetParam().selected);
    ASSERT_EQ(rows.size(), GetParam().namesLeft.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].id, i + 1);
        EXPECT_EQ(LogoIdText(rows[i].id), std::to_string(i + 1));
        EXPECT_EQ(rows[i].name, GetParam().namesLeft[i]);
        EXPECT_EQ(rows[i].path, "C:\\l\\" + GetParam().namesLeft[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, LogoDeletes, ::testing::ValuesIn(kDeletes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
