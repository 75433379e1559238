#include "core/watermark_picture.h"

#include <algorithm>
#include <cstring>

#include "core/bmp_format.h"

namespace plugin {

namespace {

constexpr std::size_t kPaletteAt = kBmpHeadersBytes;
constexpr std::size_t kPaletteEntryBytes = 4;  // blue, green, red, reserved

// The pixel data offsets that tell the kinds apart: headers, then the
// palette of two or of 256 entries, or none.
constexpr std::uint32_t kOneBitOffset = kBmpHeadersBytes + 2 * kPaletteEntryBytes;      // 62
constexpr std::uint32_t kEightBitOffset = kBmpHeadersBytes + 256 * kPaletteEntryBytes;  // 1078
constexpr std::uint32_t kTrueColourOffset = kBmpHeadersBytes;                           // 54

// What the headers say, read only once the file is known to hold them.
struct Headers {
    std::uint32_t pixelOffset = 0;
    std::uint32_t infoSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
};

bool ReadHeaders(std::span<const std::uint8_t> file, Headers* headers) {
    if (file.size() < kBmpHeadersBytes || file[0] != 'B' || file[1] != 'M') return false;
    headers->pixelOffset = U32At(file, kBmpPixelOffsetAt);
    headers->infoSize = U32At(file, kBmpInfoSizeAt);
    headers->width = static_cast<std::int32_t>(U32At(file, kBmpWidthAt));
    headers->height = static_cast<std::int32_t>(U32At(file, kBmpHeightAt));
    headers->planes = U16At(file, kBmpPlanesAt);
    headers->bitCount = U16At(file, kBmpBitCountAt);
    headers->compression = U32At(file, kBmpCompressionAt);
    return true;
}

// Row length in bytes, padded to 4, of `width` pixels at `bits` per pixel;
// 64 bits wide so that no width the header can claim overflows.
std::uint64_t StrideOf(std::int32_t width, unsigned bits) {
    return (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
}

// Whether `rows` rows of `stride` bytes fit in `available` bytes, without
// ever forming the product.
bool RowsFit(std::uint64_t stride, std::int32_t rows, std::uint64_t available) {
    return static_cast<std::uint64_t>(rows) <= available / stride;
}

// The checks every kind shares: a bottom-up, uncompressed picture of at
// least one pixel whose headers and palette lie before its pixel data, and
// whose pixel data lies within the file.
bool Fits(const Headers& h, std::span<const std::uint8_t> file, std::size_t paletteBytes, unsigned bits) {
    if (h.infoSize < kBmpInfoHeaderBytes) return false;
    if (std::uint64_t{kBmpFileHeaderBytes} + h.infoSize + paletteBytes > h.pixelOffset) return false;
    if (h.width <= 0 || h.height <= 0 || h.compression != 0 || h.bitCount != bits) return false;
    if (h.pixelOffset > file.size()) return false;
    return RowsFit(StrideOf(h.width, bits), h.height, file.size() - h.pixelOffset);
}

// The 24-bit file of a 1- or 8-bit source whose headers fit: the headers
// taken over with 24 bits per pixel, every pixel its palette entry's colour.
std::vector<std::uint8_t> ToTrueColour(std::span<const std::uint8_t> source, const Headers& h, unsigned bits,
                                       std::size_t outStride) {
    const auto width = static_cast<std::size_t>(h.width);
    const auto height = static_cast<std::size_t>(h.height);
    const std::size_t inStride = static_cast<std::size_t>(StrideOf(h.width, bits));
    std::vector<std::uint8_t> out(kBmpHeadersBytes + outStride * height, 0);

    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, kBmpFileSizeAt, static_cast<std::uint32_t>(out.size()));
    PutU32(out, kBmpReservedAt, 0);
    PutU32(out, kBmpPixelOffsetAt, kTrueColourOffset);
    std::memcpy(&out[kBmpInfoSizeAt], &source[kBmpInfoSizeAt], kBmpInfoHeaderBytes);
    PutU16(out, kBmpBitCountAt, 24);
    // The 8-bit source's image size describes its own rows; 0 is valid for
    // an uncompressed picture.
    if (bits == 8) PutU32(out, kBmpImageSizeAt, 0);

    const std::uint8_t* palette = source.data() + kPaletteAt;
    const std::uint8_t* in = source.data() + h.pixelOffset;
    std::uint8_t* row = out.data() + kBmpHeadersBytes;
    if (bits == 1) {
        // Each source byte is eight pixels: its 24 output bytes come from a
        // table of every byte value, high bit first.
        std::uint8_t eights[256][24];
        for (unsigned value = 0; value < 256; ++value) {
            for (unsigned bit = 0; bit < 8; ++bit) {
                const unsigned entry = (value >> (7 - bit)) & 1u;
                std::memcpy(&eights[value][3 * bit], palette + kPaletteEntryBytes * entry, 3);
            }
        }
        const std::size_t wholeBytes = width / 8;
        const std::size_t rest = width % 8;
        for (std::size_t y = 0; y < height; ++y, in += inStride, row += outStride) {
            std::uint8_t* pixel = row;
            for (std::size_t b = 0; b < wholeBytes; ++b, pixel += 24) std::memcpy(pixel, eights[in[b]], 24);
            if (rest) std::memcpy(pixel, eights[in[wholeBytes]], 3 * rest);
        }
    } else {
        // Four bytes a pixel, the fourth 0, so that each pixel but a row's
        // last is stored in one 4-byte write that the next pixel overlaps.
        std::uint8_t colours[256][4];
        for (unsigned entry = 0; entry < 256; ++entry) {
            std::memcpy(colours[entry], palette + kPaletteEntryBytes * entry, 3);
            colours[entry][3] = 0;
        }
        for (std::size_t y = 0; y < height; ++y, in += inStride, row += outStride) {
            std::uint8_t* pixel = row;
            std::size_t x = 0;
            for (; x + 4 < width; x += 4, pixel += 12) {
                std::memcpy(pixel, colours[in[x]], 4);
                std::memcpy(pixel + 3, colours[in[x + 1]], 4);
                std::memcpy(pixel + 6, colours[in[x + 2]], 4);
                std::memcpy(pixel + 9, colours[in[x + 3]], 4);
            }
            for (; x + 1 < width; ++x, pixel += 3) std::memcpy(pixel, colours[in[x]], 4);
            // The last one stops at its own 3 bytes: past them lies the next
            // row or, on the last row, the end of the file.
            std::memcpy(pixel, colours[in[width - 1]], 3);
        }
    }
    // The filler up to the stride is still the zeros the file started with.
    return out;
}

}  // namespace

Bmp24Conversion ConvertBmpBytes(std::span<const std::uint8_t> source) {
    Bmp24Conversion result;
    if (source.size() < kBmpFileHeaderBytes || source[0] != 'B' || source[1] != 'M') return result;
    Headers h;
    if (!ReadHeaders(source, &h) || h.planes != 1) return result;

    unsigned bits = 0;
    std::size_t paletteBytes = 0;
    switch (h.pixelOffset) {
        case kOneBitOffset:
            bits = 1;
            paletteBytes = 2 * kPaletteEntryBytes;
            break;
        case kEightBitOffset:
            bits = 8;
            paletteBytes = 256 * kPaletteEntryBytes;
            break;
        case kTrueColourOffset:
            bits = 24;
            break;
        default:
            return result;
    }
    if (!Fits(h, source, paletteBytes, bits)) return result;

    // The 24-bit picture's pixel data, checked before anything is allocated.
    const std::uint64_t outStride = StrideOf(h.width, 24);
    if (!RowsFit(outStride, h.height, kMaxPictureBytes)) {
        result.kind = Bmp24Kind::kTooLarge;
        return result;
    }
    if (bits == 24) {
        result.kind = Bmp24Kind::kAlready24;
        return result;
    }
    result.bytes = ToTrueColour(source, h, bits, static_cast<std::size_t>(outStride));
    result.kind = Bmp24Kind::kConverted;
    return result;
}

Bmp24Result ConvertToBmp24(WatermarkFiles& files, std::string_view source, std::string_view destination) {
    // A 1- or 8-bit source is far smaller than its 24-bit picture; this limit
    // still takes every 24-bit file whose pixel data is within the maximum.
    const FileRead read = files.Read(source, std::uint64_t{kMaxPictureBytes} + kEightBitOffset);
    if (read.error == FileReadError::kTooLarge) return kBmp24TooLarge;
    if (read.error != FileReadError::kNone) return kBmp24Failed;

    const Bmp24Conversion conversion = ConvertBmpBytes(read.bytes);
    switch (conversion.kind) {
        case Bmp24Kind::kRefused:
            return kBmp24Failed;
        case Bmp24Kind::kTooLarge:
            return kBmp24TooLarge;
        case Bmp24Kind::kConverted:
            return files.Write(destination, conversion.bytes) ? kBmp24Done : kBmp24CannotCreate;
        case Bmp24Kind::kAlready24:
            if (!files.Copy(source, destination)) return kBmp24CannotCreate;
            // The copy keeps the source's attributes; a read-only picture
            // file could not be replaced by the next choice.
            return files.SetArchiveOnly(destination) ? kBmp24Done : kBmp24Failed;
    }
    return kBmp24Failed;
}

PictureLoad LoadPicture24(std::span<const std::uint8_t> file, Picture* picture) {
    Headers h;
    if (!ReadHeaders(file, &h) || h.pixelOffset < kBmpHeadersBytes) return PictureLoad::kNotPicture;
    if (!Fits(h, file, 0, 24)) return PictureLoad::kNotPicture;
    const std::uint64_t stride = StrideOf(h.width, 24);
    if (!RowsFit(stride, h.height, kMaxPictureBytes)) return PictureLoad::kTooLarge;

    const auto bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(h.height);
    const auto begin = file.begin() + static_cast<std::ptrdiff_t>(h.pixelOffset);
    picture->pixels.assign(begin, begin + static_cast<std::ptrdiff_t>(bytes));
    picture->width = h.width;
    picture->height = h.height;
    return PictureLoad::kLoaded;
}

std::vector<std::uint8_t> TextPictureFile(const Picture& canvas) {
    constexpr std::size_t kSide = kTextPictureSide;
    constexpr std::size_t kRowBytes = 3 * kSide;  // 900, already a multiple of 4
    std::vector<std::uint8_t> file(kTextPictureFileSize, 0xFF);
    std::fill_n(file.begin(), kBmpHeadersBytes, std::uint8_t{0});
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, kBmpFileSizeAt, static_cast<std::uint32_t>(kTextPictureFileSize));
    PutU32(file, kBmpPixelOffsetAt, kTrueColourOffset);
    PutU32(file, kBmpInfoSizeAt, kBmpInfoHeaderBytes);
    PutU32(file, kBmpWidthAt, kSide);
    PutU32(file, kBmpHeightAt, kSide);
    PutU16(file, kBmpPlanesAt, 1);
    PutU16(file, kBmpBitCountAt, 24);

    // The canvas keeps its top-left corner: its top row becomes the file's
    // top row (the last one stored), whatever its height.
    const std::size_t width = canvas.width > 0 ? static_cast<std::size_t>(canvas.width) : 0;
    const std::size_t height = canvas.height > 0 ? static_cast<std::size_t>(canvas.height) : 0;
    const std::size_t stride = width > 0 ? canvas.Stride() : 0;
    const std::size_t copied = 3 * std::min(width, kSide);
    for (std::size_t top = 0; top < std::min(height, kSide); ++top) {
        const std::size_t from = (height - 1 - top) * stride;
        // A canvas whose pixels fall short of its size gives white for the rest.
        if (from + copied > canvas.pixels.size()) continue;
        std::memcpy(&file[kBmpHeadersBytes + (kSide - 1 - top) * kRowBytes], &canvas.pixels[from], copied);
    }
    return file;
}

void Brighten(std::span<const std::uint8_t> from, std::uint8_t amount, std::span<std::uint8_t> to) {
    const std::size_t count = std::min(from.size(), to.size());
    const std::uint8_t* in = from.data();
    std::uint8_t* out = to.data();
    // Element by element, so `to` may be `from` itself. Bytes at most
    // 255 - amount cannot pass 255 once it is added: a byte-wide minimum and
    // an addition, which the compiler does sixteen bytes at a time.
    const auto limit = static_cast<std::uint8_t>(255 - amount);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(std::min(in[i], limit) + amount);
}

}  // namespace plugin
