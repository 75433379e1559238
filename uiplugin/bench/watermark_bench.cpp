// Times the watermark's picture routines on a picture of the largest size the
// page takes (10 MiB of 24-bit pixel data) against a plain copy of the same
// number of bytes in the same run, and prints one line per operation with
// its goal. Not a test: run it by hand through scripts/bench.sh.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "core/watermark_picture.h"
#include "core/watermark_preview.h"
#include "core/bmp_format.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using plugin::PutU16;
using plugin::PutU32;
using plugin::U32At;

// Just under the maximum: 5612-byte rows, 1868 rows = 10,483,216 bytes.
constexpr int kWidth = 1870;
constexpr int kHeight = 1868;
constexpr int kRepetitions = 9;

volatile std::uint8_t sink;  // keeps the timed results alive

// A bitmap of kWidth x kHeight at `bits` per pixel with a varied pattern.
Bytes Bitmap(int bits) {
    const std::size_t entries = bits == 24 ? 0 : std::size_t{1} << bits;
    const std::size_t offset = 54 + 4 * entries;
    const std::size_t stride = (static_cast<std::size_t>(kWidth) * bits + 31) / 32 * 4;
    Bytes file(offset + stride * kHeight, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, static_cast<std::uint32_t>(file.size()));
    PutU32(file, 10, static_cast<std::uint32_t>(offset));
    PutU32(file, 14, 40);
    PutU32(file, 18, kWidth);
    PutU32(file, 22, kHeight);
    PutU16(file, 26, 1);
    PutU16(file, 28, static_cast<std::uint16_t>(bits));
    for (std::size_t e = 0; e < entries; ++e) PutU32(file, 54 + 4 * e, static_cast<std::uint32_t>(e * 0x010203));
    for (std::size_t i = offset; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
    return file;
}

// The best of kRepetitions runs, in milliseconds.
double BestMs(const std::function<void()>& run) {
    double best = 1e30;
    for (int i = 0; i < kRepetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

double CopyMs(std::size_t bytes) {
    const Bytes from(bytes, 0x5A);
    Bytes to(bytes, 0);
    return BestMs([&] {
        std::memcpy(to.data(), from.data(), bytes);
        sink = to[bytes / 2];
    });
}

// A copy that, like a conversion, hands back a buffer of its own: the
// allocation and the first touch of its pages are part of the cost.
double FreshCopyMs(std::size_t bytes) {
    const Bytes from(bytes, 0x5A);
    return BestMs([&] {
        const Bytes to(from.begin(), from.end());
        sink = to[bytes / 2];
    });
}

bool Row(const char* operation, double ms, double copyMs, double goal) {
    const double ratio = ms / copyMs;
    const bool pass = ratio <= goal;
    std::printf("%-34s %9.2f %9.2f %7.0fx  %s\n", operation, ms, ratio, goal, pass ? "PASS" : "MISS");
    return pass;
}

}  // namespace

int main() {
    const Bytes eight = Bitmap(8);
    const Bytes one = Bitmap(1);
    const Bytes true24 = Bitmap(24);
    const std::size_t pixelBytes = true24.size() - 54;
    if (plugin::ConvertBmpBytes(eight).kind != plugin::Bmp24Kind::kConverted ||
        plugin::ConvertBmpBytes(one).kind != plugin::Bmp24Kind::kConverted) {
        std::puts("the test pictures were not converted");
        return 1;
    }

    std::printf("%d x %d pixels, %zu bytes of 24-bit pixel data; best of %d runs\n\n", kWidth, kHeight, pixelBytes,
                kRepetitions);
    std::printf("%-34s %9s %9s %8s  %s\n", "operation", "ms", "x copy", "goal", "");
    // The conversions return new buffers and are held against a copy into a
    // new buffer; brightness writes into the page's own buffer and is held
    // against a copy into an existing one.
    const double copyFile = FreshCopyMs(pixelBytes + 54);
    const double copyPixels = FreshCopyMs(pixelBytes);
    const double copyInPlace = CopyMs(pixelBytes);
    std::printf("%-34s %9.2f\n", "copy of the 24-bit file, new buffer", copyFile);
    std::printf("%-34s %9.2f\n", "copy of the pixels, existing buffer", copyInPlace);
    bool all = true;

    all &= Row("ConvertBmpBytes 8 bit -> 24", BestMs([&] {
                   const plugin::Bmp24Conversion c = plugin::ConvertBmpBytes(eight);
                   sink = c.bytes[c.bytes.size() / 2];
               }),
               copyFile, 3);
    all &= Row("ConvertBmpBytes 1 bit -> 24", BestMs([&] {
                   const plugin::Bmp24Conversion c = plugin::ConvertBmpBytes(one);
                   sink = c.bytes[c.bytes.size() / 2];
               }),
               copyFile, 3);
    all &= Row("LoadPicture24 (24 bit, copies)", BestMs([&] {
                   plugin::Picture picture;
                   if (plugin::LoadPicture24(true24, &picture) != plugin::PictureLoad::kLoaded) std::abort();
                   sink = picture.pixels[pixelBytes / 2];
               }),
               copyPixels, 3);

    Bytes pixels(true24.begin() + 54, true24.end());
    Bytes brighter(pixels.size());
    // What one paint of a bitmap watermark costs the page: its layout in a
    // preview frame and the brightness taken from the loaded pixels.
    all &= Row("preview layout + Brighten 10 MiB", BestMs([&] {
                   const std::vector<plugin::Blit> blits =
                       plugin::PreviewLayout({105, 156}, {kWidth, kHeight}, 50, plugin::kTiledPosition);
                   plugin::Brighten(pixels, 40, brighter);
                   sink = brighter[pixelBytes / 2] + static_cast<std::uint8_t>(blits.size());
               }),
               copyInPlace, 2);
    return all ? 0 : 2;
}
