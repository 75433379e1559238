// Arbitrary bytes as a bitmap chosen for the watermark: the conversion reads
// only the file's bytes, and a converted picture is a 24-bit file whose size
// field is its length and that the preview loads back with the same
// geometry. Loading the raw bytes as the picture file reads nothing beyond
// them either. libFuzzer hands the input in a heap block of exactly its size,
// so AddressSanitizer sees any read beyond the file. Random bytes almost
// never make headers that fit, so each input is also tried as changes to
// valid headers of one of the three kinds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/bmp_format.h"
#include "core/watermark_picture.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

using plugin::PutU32;
using plugin::U32At;

// Headers of a small valid picture of the kind `selector` picks, each byte
// changed by the XOR of the next input byte, followed by the rest of the
// input as palette and pixel data. A run of zeros gives a valid file.
std::vector<std::uint8_t> NearlyValid(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint16_t kBits[] = {1, 8, 24};
    static constexpr std::uint32_t kOffsets[] = {62, 1078, 54};
    const unsigned kind = data[0] % 3;
    const std::size_t changes = std::min<std::size_t>(size - 1, 54);
    std::vector<std::uint8_t> file(54 + (size - 1 - changes), 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, static_cast<std::uint32_t>(file.size()));
    PutU32(file, 10, kOffsets[kind]);
    PutU32(file, 14, 40);
    PutU32(file, 18, 3);
    PutU32(file, 22, 2);
    file[26] = 1;
    file[28] = static_cast<std::uint8_t>(kBits[kind]);
    for (std::size_t i = 0; i < changes; ++i) file[i] ^= data[1 + i];
    std::copy(data + 1 + changes, data + size, file.begin() + 54);
    return file;
}

int TryFile(std::span<const std::uint8_t> file);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TryFile(std::span<const std::uint8_t>(data, size));
    if (size > 0) {
        const std::vector<std::uint8_t> file = NearlyValid(data, size);
        TryFile(file);
    }
    return 0;
}

namespace {

int TryFile(std::span<const std::uint8_t> file) {
    plugin::Picture raw;
    const plugin::PictureLoad rawLoad = plugin::LoadPicture24(file, &raw);
    if (rawLoad == plugin::PictureLoad::kLoaded) {
        Check(raw.width > 0 && raw.height > 0);
        Check(raw.pixels.size() == raw.Stride() * static_cast<std::size_t>(raw.height));
        Check(raw.pixels.size() <= plugin::kMaxPictureBytes);
    } else {
        Check(raw.pixels.empty() && raw.width == 0 && raw.height == 0);
    }

    const plugin::Bmp24Conversion conversion = plugin::ConvertBmpBytes(file);
    if (conversion.kind != plugin::Bmp24Kind::kConverted) {
        Check(conversion.bytes.empty());
        // A file taken as it is must be one the preview can load.
        if (conversion.kind == plugin::Bmp24Kind::kAlready24) Check(rawLoad == plugin::PictureLoad::kLoaded);
        return 0;
    }
    const std::vector<std::uint8_t>& out = conversion.bytes;
    Check(out.size() >= 54 && out[0] == 'B' && out[1] == 'M');
    Check(U32At(out, 2) == out.size() && U32At(out, 10) == 54 && U32At(out, 14) == 40);
    Check((out[28] | out[29] << 8) == 24);

    plugin::Picture picture;
    Check(plugin::LoadPicture24(out, &picture) == plugin::PictureLoad::kLoaded);
    // The geometry is the source's.
    Check(U32At(out, 18) == U32At(file, 18) && U32At(out, 22) == U32At(file, 22));
    Check(picture.width == static_cast<std::int32_t>(U32At(out, 18)));
    Check(picture.height == static_cast<std::int32_t>(U32At(out, 22)));
    Check(out.size() == 54 + picture.pixels.size());
    return 0;
}

}  // namespace
