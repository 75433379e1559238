#include "core/barcode_math.h"

#include <cmath>
#include <cstdint>

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
// Whether `value` lies above (1), at (0) or below (-1) half of `twice`
// tenths, exactly: value * 20 against `twice` + 1 in whole numbers, from the
// double's own mantissa and exponent.
int AgainstMidpoint(double value, std::uint64_t twice) {
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    const std::uint64_t midpoint = twice + 1;
    // Here `value` is a whole number or a fraction of at most 2^-63 steps.
    if (exponent >= 0 || exponent < -63) return mantissa * 20 > midpoint ? 1 : -1;
    const unsigned shift = static_cast<unsigned>(-exponent);
    if (midpoint > (UINT64_MAX >> shift)) return -1;
    const std::uint64_t scaled = mantissa * 20, target = midpoint << shift;
    return scaled > target ? 1 : scaled < target ? -1 : 0;
}

// Tenths as "%5.1f" prints them: one decimal, right-aligned in five places.
std::string TenthsText(std::uint64_t tenths) {
    std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    if (text.size() < 5) text.insert(0, 5 - text.size(), ' ');
    return text;
}
}  // namespace

// The millimetres as "%5.1f" of the C library prints the product shown
// beside them: dots x 25.4 / 180 is dots x 127 / 90 tenths, rounded to the
// nearest tenth. Only an exact half (a remainder of 45 ninetieths) depends on
// which side of it the double product fell; that is decided from the product
// itself, halves that the double holds exactly going to the even tenth.
std::string MillimetreText(std::uint32_t totalHeight) {
    const std::uint64_t scaled = std::uint64_t{totalHeight} * 127;
    std::uint64_t tenths = scaled / 90;
    const std::uint64_t rest = scaled % 90;
    if (rest > 45) {
        ++tenths;
    } else if (rest == 45) {
        const int side =
            AgainstMidpoint(Product(static_cast<double>(totalHeight), kMmPerInch, kInchPerDot), 2 * tenths);
        if (side > 0 || (side == 0 && tenths % 2 == 1)) ++tenths;
    }
    return TenthsText(tenths);
}

std::string PointText(std::uint32_t totalHeight) {
    // Whole and half points: ten times them is a whole number exactly.
    return TenthsText(static_cast<std::uint64_t>(SnappedPoints(totalHeight) * 10));
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
