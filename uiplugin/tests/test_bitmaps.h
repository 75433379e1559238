#pragma once
// BMP files for the tests: the headers of an uncompressed, bottom-up picture
// filled in, palette and pixel data left for the test to write.
#include <cstdint>
#include <vector>

#include "core/bmp_format.h"

namespace plugin_test {

// The bytes of a row of `width` pixels at `bits` per pixel, padded to 4.
inline std::size_t BmpStride(int width, int bits) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
}

// A `width` x `height` picture at `bits` per pixel whose pixel data starts at
// `offset` (after its palette): both headers written, image size included;
// palette and pixels zero.
inline std::vector<std::uint8_t> BlankBmp(int width, int height, int bits, std::uint32_t offset) {
    const std::size_t pixelBytes = BmpStride(width, bits) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> file(offset + pixelBytes, 0);
    file[0] = 'B';
    file[1] = 'M';
    plugin::PutU32(file, plugin::kBmpFileSizeAt, static_cast<std::uint32_t>(file.size()));
    plugin::PutU32(file, plugin::kBmpPixelOffsetAt, offset);
    plugin::PutU32(file, plugin::kBmpInfoSizeAt, plugin::kBmpInfoHeaderBytes);
    plugin::PutU32(file, plugin::kBmpWidthAt, static_cast<std::uint32_t>(width));
    plugin::PutU32(file, plugin::kBmpHeightAt, static_cast<std::uint32_t>(height));
    plugin::PutU16(file, plugin::kBmpPlanesAt, 1);
    plugin::PutU16(file, plugin::kBmpBitCountAt, static_cast<std::uint16_t>(bits));
    plugin::PutU32(file, plugin::kBmpImageSizeAt, static_cast<std::uint32_t>(pixelBytes));
    return file;
}

}  // namespace plugin_test
