// Arbitrary bytes as a logo file chosen for the download page: whatever its
// headers claim, acceptance reads only the file's bytes, and an accepted
// picture converts to exactly the header and data length its geometry gives.
// libFuzzer hands the input in a heap block of exactly its size, so
// AddressSanitizer sees any read beyond the file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/logo_bitmap.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const plugin::LogoAcceptance accepted = plugin::AcceptLogo(file, 0);
    const std::span<const std::uint8_t> files[] = {file};
    const auto job = plugin::BuildLogoJob(files);
    Check(job.has_value() == (accepted.verdict == plugin::LogoVerdict::kAccepted));
    if (!job) return 0;

    const plugin::LogoGeometry& g = accepted.geometry;
    Check(g.width >= 1 && g.width <= plugin::kMaxLogoWidth && g.height >= 1 && g.height <= plugin::kMaxLogoHeight);
    Check(g.stride % 4 == 0 && g.stride * 8 >= static_cast<std::uint32_t>(g.width));
    Check(std::uint64_t{g.pixelOffset} + std::uint64_t{g.stride} * static_cast<std::uint32_t>(g.height) <= size);

    const std::vector<std::uint8_t> logo = plugin::ConvertLogo(file, g);
    Check(logo.size() == 4 + std::size_t{g.dataLength});
    Check(logo[0] + 256u * logo[1] == g.stride && logo[2] + 256u * logo[3] == g.heightBytes);
    // Nothing prints right of the picture, nor above it in the top band.
    const std::size_t bands = g.heightBytes;
    for (std::size_t x = static_cast<std::size_t>(g.width); x < 8u * g.stride; ++x) {
        for (std::size_t k = 0; k < bands; ++k) Check(logo[4 + x * bands + k] == 0);
    }
    const unsigned blankTop = 8 * g.heightBytes - static_cast<std::uint32_t>(g.height);
    const std::uint8_t topMask = static_cast<std::uint8_t>(0xFF00 >> blankTop);
    for (std::size_t x = 0; x < 8u * g.stride; ++x) Check((logo[4 + x * bands] & topMask) == 0);
    Check(job->size() == 3 + logo.size() + 1);
    return 0;
}
