#pragma once
// The watermark's pictures in memory and as BMP files: the conversion of a
// chosen bitmap to 24 bits, the picture the preview loads back, the fixed
// text picture file and the brightness added to every colour byte.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/watermark_files.h"

namespace plugin {

// The most pixel data the page takes in a 24-bit picture (10 MiB).
inline constexpr std::size_t kMaxPictureBytes = 10'485'760;

// A 24-bit picture: rows bottom-up, each blue, green, red per pixel and
// padded with zeros to a multiple of 4 bytes, as in a BMP file.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // Stride() * height bytes
    std::size_t Stride() const { return (3 * static_cast<std::size_t>(width) + 3) / 4 * 4; }
};

enum class Bmp24Kind {
    kRefused,    // not "BM", a kind not handled, or headers that do not fit the file
    kTooLarge,   // the 24-bit picture would hold more than kMaxPictureBytes of pixel data
    kConverted,  // 1 or 8 bits per pixel: `bytes` is the 24-bit file
    kAlready24,  // already 24 bits at offset 54: the file is taken as it is
};

struct Bmp24Conversion {
    Bmp24Kind kind = Bmp24Kind::kRefused;
    std::vector<std::uint8_t> bytes;  // kConverted only
};

// The kind of the source is told by its pixel data offset: 62 (1 bit, two
// palette entries), 1078 (8 bits, 256 entries) or 54 (24 bits).
Bmp24Conversion ConvertBmpBytes(std::span<const std::uint8_t> source);

// ConvertToBmp24's results.
enum Bmp24Result : int {
    kBmp24Failed = 0,        // the source cannot be read, is no BMP or of a kind not handled
    kBmp24Done = 1,          // the destination holds the 24-bit picture
    kBmp24CannotCreate = 2,  // the destination cannot be created or written
    kBmp24TooLarge = 3,      // the 24-bit picture would pass kMaxPictureBytes
};

// Reads the source whole, converts it in memory and only then writes the
// destination, so a refused source leaves the previous picture file as it
// was. A 24-bit source is copied unchanged and the copy made archive-only.
Bmp24Result ConvertToBmp24(WatermarkFiles& files, std::string_view source, std::string_view destination);

enum class PictureLoad { kLoaded, kNotPicture, kTooLarge };

// The picture of a 24-bit BMP file (the watermark picture file): headers
// checked against the file's length; more than kMaxPictureBytes of pixel data
// is kTooLarge and nothing is copied.
PictureLoad LoadPicture24(std::span<const std::uint8_t> file, Picture* picture);

// The side of the square text picture, in pixels.
inline constexpr int kTextPictureSide = 300;
// Its file: "BM", size 270054, offset 54, a 40-byte header of 300 x 300 at
// 24 bits (every other field 0), then the 300 rows of 900 bytes.
inline constexpr std::size_t kTextPictureFileSize = 270054;
// A canvas of another size is cut, or filled out with white, to 300 x 300.
std::vector<std::uint8_t> TextPictureFile(const Picture& canvas);

// Every byte of `from` plus `amount`, at most 255, into `to` (same size).
void Brighten(std::span<const std::uint8_t> from, std::uint8_t amount, std::span<std::uint8_t> to);

}  // namespace plugin
