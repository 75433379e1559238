#include "core/barcode_math.h"

#include <cmath>
#include <cstdio>

namespace plugin {

namespace {
// Every product rounded to a double, as a double-precision FPU computes it.
// The 32-bit build computes in the x87's extended precision: 40 points there
// come back as 99.999... dots and truncate to 99 instead of 100. A store
// through memory rounds the way every other build does.
double Product(double a, double b, double c) {
    volatile double ab = a * b;
    volatile double abc = ab * c;
    return abc;
}
}  // namespace

std::uint32_t HriRoom(int hriPosition, int hriFont) {
    // Font A is 24 dots high, font B 17; "both" prints the text twice.
    const std::uint32_t line = hriFont == kHriFontB ? 17 : hriFont == kHriFontA ? 24 : 0;
    switch (hriPosition) {
        case kHriAbove:
        case kHriBelow:
            return line;
        case kHriBoth:
            return 2 * line;
    }
    return 0;
}

double SnappedPoints(std::uint32_t dots) {
    // A dot is 72 / 180 = 0.4 points exactly, so the height's tenths of a
    // point are whole numbers: compared as such, an exact X.4 takes the half
    // point instead of reading as X.3999... in floating point.
    const std::uint64_t tenths = 4 * static_cast<std::uint64_t>(dots);
    const auto whole = static_cast<double>(tenths / 10);
    const std::uint64_t fraction = tenths % 10;
    if (fraction < 4) return whole;
    if (fraction < 7) return whole + 0.5;
    return whole + 1;
}

std::uint32_t TotalHeight(std::uint32_t barHeight, int hriPosition, int hriFont) {
    const double points = SnappedPoints(barHeight + HriRoom(hriPosition, hriFont));
    const auto dots = static_cast<std::uint32_t>(std::trunc(Product(points, kDotsPerInch, kInchPerPoint)));
    // A zero height would ask the printer for no bars at all.
    return dots == 0 ? 2 : dots;
}

namespace {
std::string Format(double value) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%5.1f", value);
    return text;
}
}  // namespace

std::string MillimetreText(std::uint32_t totalHeight) {
    return Format(Product(static_cast<double>(totalHeight), kMmPerInch, kInchPerDot));
}

std::string PointText(std::uint32_t totalHeight) {
    return Format(SnappedPoints(totalHeight));
}

std::uint32_t ClampUnsigned(int value, std::uint32_t low, std::uint32_t high) {
    const auto unsignedValue = static_cast<std::uint32_t>(value);
    if (unsignedValue > high) return high;
    if (unsignedValue < low) return low;
    return unsignedValue;
}

std::uint8_t ClampLowByte(int value, std::uint8_t low, std::uint8_t high) {
    const auto byte = static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFu);
    if (byte > high) return high;
    if (byte < low) return low;
    return byte;
}

}  // namespace plugin
