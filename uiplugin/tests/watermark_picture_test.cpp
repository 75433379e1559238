#include "core/watermark_picture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fake_watermark_files.h"
#include "test_bitmaps.h"
#include "core/bmp_format.h"

namespace {

using namespace plugin;
using Bytes = std::vector<std::uint8_t>;

std::size_t SourceStride(int bits, int width) {
    return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
}

std::size_t Stride24(int width) {
    return (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
}

// The palette index (or, at 24 bits, the byte value seed) of pixel (x, y),
// y counted from the bottom row: a pattern that differs between neighbours
// and rows, so a shifted bit or row shows.
unsigned PixelValue(int bits, int x, int y) {
    const unsigned value = static_cast<unsigned>(x * 7 + y * 3 + (x / 8) * 5);
    return bits == 1 ? value % 2 : value % 256;
}

// Palette entry i's blue, green, red: all three differ, so a swapped colour
// order shows.
std::uint8_t PaletteByte(unsigned entry, int channel) {
    return static_cast<std::uint8_t>(entry * (channel + 3) + 17 * channel + 1);
}

// A bitmap file of `bits` per pixel (1, 8 or 24) with its usual pixel data
// offset, bottom-up rows of PixelValue, and source padding filled with junk
// that must never reach the 24-bit picture.
Bytes Bitmap(int bits, int width, int height) {
    const std::size_t entries = bits == 1 ? 2 : bits == 8 ? 256 : 0;
    const std::size_t offset = 54 + 4 * entries;
    const std::size_t stride = SourceStride(bits, width);
    Bytes file = plugin_test::BlankBmp(width, height, bits, static_cast<std::uint32_t>(offset));
    PutU32(file, 38, 2835);
    PutU32(file, 42, 2835);
    for (unsigned e = 0; e < entries; ++e) {
        for (int c = 0; c < 3; ++c) file[54 + 4 * e + c] = PaletteByte(e, c);
        file[54 + 4 * e + 3] = 0x99;
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = file.data() + offset + static_cast<std::size_t>(y) * stride;
        std::fill(row, row + stride, std::uint8_t{0xEE});
        if (bits == 1) std::fill(row, row + (width + 7) / 8, std::uint8_t{0});
        for (int x = 0; x < width; ++x) {
            const unsigned v = PixelValue(bits, x, y);
            if (bits == 1) {
                if (v) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            } else if (bits == 8) {
                row[x] = static_cast<std::uint8_t>(v);
            } else {
                for (int c = 0; c < 3; ++c) row[3 * x + c] = static_cast<std::uint8_t>(v + c);
            }
        }
    }
    return file;
}

// Checks a converted file against the source's geometry and palette.
void ExpectConverted(const Bytes& out, int bits, int width, int height, std::uint32_t imageSize) {
    const std::size_t stride = Stride24(width);
    ASSERT_EQ(out.size(), 54 + stride * static_cast<std::size_t>(height));
    EXPECT_EQ(out[0], 'B');
    EXPECT_EQ(out[1], 'M');
    EXPECT_EQ(U32At(out, 2), out.size());
    EXPECT_EQ(U32At(out, 6), 0u);
    EXPECT_EQ(U32At(out, 10), 54u);
    EXPECT_EQ(U32At(out, 14), 40u);
    EXPECT_EQ(U32At(out, 18), static_cast<std::uint32_t>(width));
    EXPECT_EQ(U32At(out, 22), static_cast<std::uint32_t>(height));
    EXPECT_EQ(out[26] | out[27] << 8, 1);
    EXPECT_EQ(out[28] | out[29] << 8, 24);
    EXPECT_EQ(U32At(out, 34), imageSize);
    EXPECT_EQ(U32At(out, 38), 2835u);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = out.data() + 54 + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            const unsigned entry = PixelValue(bits, x, y);
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(row[3 * x + c], PaletteByte(entry, c)) << "x " << x << " y " << y << " channel " << c;
            }
        }
        for (std::size_t f = 3 * static_cast<std::size_t>(width); f < stride; ++f) {
            ASSERT_EQ(row[f], 0) << "filler of row " << y;
        }
    }
}

struct ConvertCase {
    int bits;
    int width;
    int height;
};

class ConvertKinds : public testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertKinds, EveryPixelTakesItsPaletteColourAndRowsArePaddedWithZeros) {
    const ConvertCase c = GetParam();
    const Bytes source = Bitmap(c.bits, c.width, c.height);
    const Bmp24Conversion result = ConvertBmpBytes(source);
    ASSERT_EQ(result.kind, Bmp24Kind::kConverted);
    // A 1-bit source keeps its image size field; an 8-bit one gets 0.
    const std::uint32_t imageSize = c.bits == 8 ? 0 : U32At(source, 34);
    ExpectConverted(result.bytes, c.bits, c.width, c.height, imageSize);

    Picture picture;
    ASSERT_EQ(LoadPicture24(result.bytes, &picture), PictureLoad::kLoaded);
    EXPECT_EQ(picture.width, c.width);
    EXPECT_EQ(picture.height, c.height);
    EXPECT_EQ(picture.pixels, Bytes(result.bytes.begin() + 54, result.bytes.end()));
}

INSTANTIATE_TEST_SUITE_P(OneAndEightBits, ConvertKinds,
                         testing::Values(ConvertCase{1, 1, 3}, ConvertCase{1, 2, 2}, ConvertCase{1, 3, 2},
                                         ConvertCase{1, 4, 1}, ConvertCase{1, 9, 3}, ConvertCase{1, 33, 2},
                                         ConvertCase{8, 1, 3}, ConvertCase{8, 2, 2}, ConvertCase{8, 3, 2},
                                         ConvertCase{8, 4, 1}, ConvertCase{8, 37, 5}));

TEST(ConvertBmpBytes, OneBitReadsTheHighBitFirst) {
    Bytes source = Bitmap(1, 9, 1);
    source[62] = 0x81;  // pixels 0 and 7 set
    source[63] = 0x00;  // pixel 8 clear
    const Bmp24Conversion result = ConvertBmpBytes(source);
    ASSERT_EQ(result.kind, Bmp24Kind::kConverted);
    const Bytes expected{PaletteByte(1, 0), PaletteByte(1, 1), PaletteByte(1, 2)};
    const Bytes clear{PaletteByte(0, 0), PaletteByte(0, 1), PaletteByte(0, 2)};
    for (int x = 0; x < 9; ++x) {
        const Bytes seen(result.bytes.begin() + 54 + 3 * x, result.bytes.begin() + 57 + 3 * x);
        EXPECT_EQ(seen, x == 0 || x == 7 ? expected : clear) << "pixel " << x;
    }
}

TEST(ConvertBmpBytes, TwentyFourBitsIsTakenAsItIs) {
    const Bmp24Conversion result = ConvertBmpBytes(Bitmap(24, 5, 3));
    EXPECT_EQ(result.kind, Bmp24Kind::kAlready24);
    EXPECT_TRUE(result.bytes.empty());
}

// A damaged or unhandled file, made from a valid one.
struct RefusedCase {
    const char* name;
    int bits;
    std::function<void(Bytes&)> damage;
};

class Refused : public testing::TestWithParam<RefusedCase> {};

TEST_P(Refused, IsNotConvertedNorLoaded) {
    Bytes file = Bitmap(GetParam().bits, 6, 4);
    GetParam().damage(file);
    const Bmp24Conversion result = ConvertBmpBytes(file);
    EXPECT_EQ(result.kind, Bmp24Kind::kRefused);
    EXPECT_TRUE(result.bytes.empty());
    if (GetParam().bits == 24) {
        Picture picture;
        EXPECT_EQ(LoadPicture24(file, &picture), PictureLoad::kNotPicture);
        EXPECT_TRUE(picture.pixels.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Refused,
    testing::Values(RefusedCase{"Empty", 1, [](Bytes& f) { f.clear(); }},
                    RefusedCase{"ThirteenBytes", 1, [](Bytes& f) { f.resize(13); }},
                    RefusedCase{"NotBM", 8, [](Bytes& f) { f[1] = 'A'; }},
                    RefusedCase{"NotBM24", 24, [](Bytes& f) { f[0] = 'b'; }},
                    RefusedCase{"FourBitsAt118", 8,
                                [](Bytes& f) {
                                    PutU16(f, 28, 4);
                                    PutU32(f, 10, 118);
                                }},
                    RefusedCase{"ThirtyTwoBitsAt54", 24,
                                [](Bytes& f) {
                                    PutU16(f, 28, 32);
                                    f.resize(54 + 6 * 4 * 4);
                                }},
                    RefusedCase{"EightBitsShortPalette", 8, [](Bytes& f) { PutU32(f, 10, 54 + 16 * 4); }},
                    RefusedCase{"EightBitsClaimedAt62", 8, [](Bytes& f) { PutU32(f, 10, 62); }},
                    RefusedCase{"OneBitClaimedAt1078", 1, [](Bytes& f) { PutU32(f, 10, 1078); }},
                    RefusedCase{"TwentyFourBitsAt62", 24, [](Bytes& f) { PutU32(f, 10, 62); }},
                    RefusedCase{"TruncatedPixels1", 1, [](Bytes& f) { f.pop_back(); }},
                    RefusedCase{"TruncatedPixels8", 8, [](Bytes& f) { f.pop_back(); }},
                    RefusedCase{"TruncatedPixels24", 24, [](Bytes& f) { f.pop_back(); }},
                    RefusedCase{"HeadersOnly", 24, [](Bytes& f) { f.resize(54); }},
                    RefusedCase{"WidthZero", 8, [](Bytes& f) { PutU32(f, 18, 0); }},
                    RefusedCase{"NegativeWidth", 1, [](Bytes& f) { PutU32(f, 18, 0xFFFFFFFA); }},
                    RefusedCase{"HeightZero24", 24, [](Bytes& f) { PutU32(f, 22, 0); }},
                    RefusedCase{"TopDown", 1, [](Bytes& f) { PutU32(f, 22, 0xFFFFFFFC); }},
                    RefusedCase{"TopDown24", 24, [](Bytes& f) { PutU32(f, 22, 0xFFFFFFFC); }},
                    RefusedCase{"HugeWidth", 8, [](Bytes& f) { PutU32(f, 18, 0x7FFFFFFF); }},
                    RefusedCase{"HugeHeight", 1, [](Bytes& f) { PutU32(f, 22, 0x7FFFFFFF); }},
                    RefusedCase{"HugeBoth24", 24,
                                [](Bytes& f) {
                                    PutU32(f, 18, 0x7FFFFFFF);
                                    PutU32(f, 22, 0x7FFFFFFF);
                                }},
                    // Width × height whose product wraps to 0 in 32 bits.
                    RefusedCase{"WrappingProduct", 8,
                                [](Bytes& f) {
                                    PutU32(f, 18, 0x40000000);
                                    PutU32(f, 22, 0x40000000);
                                }},
                    RefusedCase{"TwoPlanes", 1, [](Bytes& f) { PutU16(f, 26, 2); }},
                    RefusedCase{"Compressed", 8, [](Bytes& f) { PutU32(f, 30, 1); }},
                    RefusedCase{"Compressed24", 24, [](Bytes& f) { PutU32(f, 30, 3); }},
                    RefusedCase{"InfoHeaderSmall", 1, [](Bytes& f) { PutU32(f, 14, 12); }},
                    RefusedCase{"InfoHeaderOverPalette", 8, [](Bytes& f) { PutU32(f, 14, 124); }},
                    RefusedCase{"InfoHeaderOverPixels24", 24, [](Bytes& f) { PutU32(f, 14, 108); }}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

struct TooLargeCase {
    int bits;
    int width;
    int height;
};

class TooLarge : public testing::TestWithParam<TooLargeCase> {};

// Sources small enough to read whose 24-bit pixel data passes the maximum.
TEST_P(TooLarge, IsReportedBeforeAnythingIsMade) {
    const TooLargeCase c = GetParam();
    const Bmp24Conversion result = ConvertBmpBytes(Bitmap(c.bits, c.width, c.height));
    EXPECT_EQ(result.kind, Bmp24Kind::kTooLarge);
    EXPECT_TRUE(result.bytes.empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, TooLarge,
                         testing::Values(TooLargeCase{1, 8000, 437}, TooLargeCase{8, 1870, 1870},
                                         TooLargeCase{24, 1024, 3414}));

TEST(ConvertBmpBytes, PixelDataOfExactlyTheMaximumIsConverted) {
    // 1-bit, width 1024: 24-bit rows of 3072 bytes, 3413 rows = 10,484,736 bytes;
    // 3414 rows pass the maximum.
    EXPECT_EQ(ConvertBmpBytes(Bitmap(1, 1024, 3413)).kind, Bmp24Kind::kConverted);
    EXPECT_EQ(ConvertBmpBytes(Bitmap(1, 1024, 3414)).kind, Bmp24Kind::kTooLarge);
}

// ConvertToBmp24 through the files port.
class ConvertToBmp24Test : public testing::Test {
protected:
    static constexpr std::string_view kSource = "C:\\Imagens\\marca.bmp";
    static constexpr std::string_view kDestination = "C:\\TEMP\\WMARK.bmp";
    const Bytes previous{'o', 'l', 'd'};
    plugin_test::FakeWatermarkFiles files;

    void SetUp() override { files.files[std::string(kDestination)] = previous; }
    Bmp24Result Convert(const Bytes& source) {
        files.files[std::string(kSource)] = source;
        return ConvertToBmp24(files, kSource, kDestination);
    }
    const Bytes& Destination() { return files.files[std::string(kDestination)]; }
};

TEST_F(ConvertToBmp24Test, ConvertedPictureReplacesTheDestination) {
    const Bytes source = Bitmap(8, 7, 3);
    EXPECT_EQ(Convert(source), kBmp24Done);
    EXPECT_EQ(Destination(), ConvertBmpBytes(source).bytes);
    ASSERT_EQ(files.reads.size(), 1u);
}

TEST_F(ConvertToBmp24Test, RefusedOrUnreadableSourceLeavesTheDestinationAsItWas) {
    Bytes fourBits = Bitmap(8, 6, 4);
    PutU16(fourBits, 28, 4);
    PutU32(fourBits, 10, 118);
    EXPECT_EQ(Convert(fourBits), kBmp24Failed);
    EXPECT_EQ(Destination(), previous);

    files.unreadable.insert(std::string(kSource));
    EXPECT_EQ(Convert(Bitmap(1, 6, 4)), kBmp24Failed);
    EXPECT_EQ(Destination(), previous);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(ConvertToBmp24Test, TooLargeLeavesTheDestinationAsItWas) {
    EXPECT_EQ(Convert(Bitmap(1, 8000, 437)), kBmp24TooLarge);
    EXPECT_EQ(Destination(), previous);
    // A 24-bit file the reading limit does not take.
    EXPECT_EQ(Convert(Bytes(kMaxPictureBytes + 1078 + 1, 'B')), kBmp24TooLarge);
    EXPECT_EQ(Destination(), previous);
}

TEST_F(ConvertToBmp24Test, UnwritableDestinationIsResultTwo) {
    files.unwritable.insert(std::string(kDestination));
    EXPECT_EQ(Convert(Bitmap(1, 6, 4)), kBmp24CannotCreate);
    EXPECT_EQ(Convert(Bitmap(24, 6, 4)), kBmp24CannotCreate);
    EXPECT_EQ(Destination(), previous);
}

TEST_F(ConvertToBmp24Test, TwentyFourBitSourceIsCopiedAndLosesReadOnly) {
    const Bytes source = Bitmap(24, 6, 4);
    files.readOnly.insert(std::string(kSource));
    EXPECT_EQ(Convert(source), kBmp24Done);
    EXPECT_EQ(Destination(), source);
    EXPECT_FALSE(files.readOnly.count(std::string(kDestination)));
    // So the next choice can replace it.
    EXPECT_EQ(Convert(Bitmap(8, 2, 2)), kBmp24Done);
}

TEST_F(ConvertToBmp24Test, AttributesThatCannotBeSetFail) {
    files.attributesFail.insert(std::string(kDestination));
    EXPECT_EQ(Convert(Bitmap(24, 6, 4)), kBmp24Failed);
}

TEST(LoadPicture24, TakesAnyOffsetThatFitsAndRowsAsStored) {
    Bytes file = Bitmap(24, 5, 3);
    const Bytes pixels(file.begin() + 54, file.end());
    file.insert(file.begin() + 54, 10, 0x77);  // a gap after the headers
    PutU32(file, 10, 64);
    Picture picture;
    ASSERT_EQ(LoadPicture24(file, &picture), PictureLoad::kLoaded);
    EXPECT_EQ(picture.width, 5);
    EXPECT_EQ(picture.height, 3);
    EXPECT_EQ(picture.pixels, pixels);

    PutU32(file, 10, 50);  // inside the headers
    EXPECT_EQ(LoadPicture24(file, &picture), PictureLoad::kNotPicture);
}

TEST(LoadPicture24, MoreThanTheMaximumIsTooLargeAndNothingIsCopied) {
    Picture picture;
    picture.width = 1;
    picture.height = 1;
    picture.pixels = {1, 2, 3, 0};
    const Picture before = picture;
    EXPECT_EQ(LoadPicture24(Bitmap(24, 1024, 3414), &picture), PictureLoad::kTooLarge);
    EXPECT_EQ(picture.pixels, before.pixels);
    EXPECT_EQ(picture.width, 1);
    EXPECT_EQ(LoadPicture24(Bitmap(8, 4, 4), &picture), PictureLoad::kNotPicture);
}

Picture Canvas(int width, int height) {
    Picture canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.pixels.resize(canvas.Stride() * static_cast<std::size_t>(height));
    // Each row bottom-up holds its own top-down index, so a flipped copy shows.
    for (int y = 0; y < height; ++y) {
        std::fill_n(canvas.pixels.begin() + static_cast<std::ptrdiff_t>(canvas.Stride() * y), 3 * width,
                    static_cast<std::uint8_t>(height - 1 - y));
    }
    return canvas;
}

TEST(TextPictureFile, HasTheFixedHeaders) {
    const Bytes file = TextPictureFile(Canvas(300, 300));
    ASSERT_EQ(file.size(), kTextPictureFileSize);
    const Bytes expected{'B', 'M', 0xE6, 0x1E, 0x04, 0x00, 0, 0,    0, 0, 54, 0, 0, 0,  40,
                         0,   0,   0,    0x2C, 1,    0,    0, 0x2C, 1, 0, 0,  1, 0, 24, 0};
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 30), expected);
    EXPECT_EQ(Bytes(file.begin() + 30, file.begin() + 54), Bytes(24, 0));
    Picture loaded;
    ASSERT_EQ(LoadPicture24(file, &loaded), PictureLoad::kLoaded);
    EXPECT_EQ(loaded.pixels, Canvas(300, 300).pixels);
}

struct CanvasCase {
    int width;
    int height;
};

class TextPictureSizes : public testing::TestWithParam<CanvasCase> {};

TEST_P(TextPictureSizes, KeepsTheTopLeftAndFillsWithWhite) {
    const CanvasCase c = GetParam();
    const Bytes file = TextPictureFile(Canvas(c.width, c.height));
    ASSERT_EQ(file.size(), kTextPictureFileSize);
    for (int top = 0; top < 300; ++top) {
        const std::uint8_t* row = file.data() + 54 + static_cast<std::size_t>(299 - top) * 900;
        for (int x = 0; x < 300; ++x) {
            const std::uint8_t expected = top < c.height && x < c.width ? static_cast<std::uint8_t>(top) : 0xFF;
            ASSERT_EQ(row[3 * x], expected) << "top row " << top << " x " << x;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cut, TextPictureSizes,
                         testing::Values(CanvasCase{0, 0}, CanvasCase{1, 1}, CanvasCase{299, 301}, CanvasCase{350, 120},
                                         CanvasCase{301, 400}));

TEST(Brighten, SaturatesAtWhite) {
    Bytes from(259);
    for (std::size_t i = 0; i < from.size(); ++i) from[i] = static_cast<std::uint8_t>(i);
    Bytes to(from.size());
    Brighten(from, 0, to);
    EXPECT_EQ(to, from);
    Brighten(from, 255, to);
    EXPECT_EQ(to, Bytes(from.size(), 0xFF));
    Brighten(from, 100, to);
    for (std::size_t i = 0; i < from.size(); ++i) ASSERT_EQ(to[i], std::min<unsigned>(from[i] + 100u, 255u)) << i;
    // In place.
    Brighten(from, 200, from);
    EXPECT_EQ(from[0], 200);
    EXPECT_EQ(from[55], 255);
    EXPECT_EQ(from[258], 202);  // 258 wrapped to 2
}

TEST(Brighten, TakesOnlyTheCommonLength) {
    const Bytes from{10, 20, 30};
    Bytes to{1, 1};
    Brighten(from, 5, to);
    EXPECT_EQ(to, (Bytes{15, 25}));
    Bytes longer{1, 1, 1, 1};
    Brighten(from, 5, longer);
    EXPECT_EQ(longer, (Bytes{15, 25, 35, 1}));
}

}  // namespace
