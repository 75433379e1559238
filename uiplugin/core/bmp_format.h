#pragma once
// BMP files as the plug-in reads and writes them: the offsets of the fields
// of the 14-byte file header and the 40-byte information header, and the
// little-endian numbers they hold. Callers check the length first.
#include <cstddef>
#include <cstdint>
#include <span>

namespace plugin {

constexpr std::size_t kBmpFileHeaderBytes = 14;
constexpr std::size_t kBmpInfoHeaderBytes = 40;
constexpr std::size_t kBmpHeadersBytes = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;  // 54
constexpr std::size_t kBmpTypeAt = 0;                                                // "BM"
constexpr std::size_t kBmpFileSizeAt = 2;
constexpr std::size_t kBmpReservedAt = 6;
constexpr std::size_t kBmpPixelOffsetAt = 10;
constexpr std::size_t kBmpInfoSizeAt = 14;
constexpr std::size_t kBmpWidthAt = 18;
constexpr std::size_t kBmpHeightAt = 22;
constexpr std::size_t kBmpPlanesAt = 26;
constexpr std::size_t kBmpBitCountAt = 28;
constexpr std::size_t kBmpCompressionAt = 30;
constexpr std::size_t kBmpImageSizeAt = 34;
constexpr std::uint16_t kBmpType = 0x4D42;  // "BM" read as a number

inline std::uint16_t U16At(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

inline void PutU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace plugin
