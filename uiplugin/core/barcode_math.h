#pragma once
// The arithmetic of the barcode font pages: the printer's 180 dots per inch
// against the points an application picks a font size in, and the limits of
// each number the pages take. Pure functions, so the figures can be checked
// apart from any control.
#include <cstdint>
#include <string>

namespace plugin {

// The driver has always converted with these exact constants (1/180 and 1/72
// stored as decimals); the snapped heights depend on their rounding.
inline constexpr double kMmPerInch = 25.4;
inline constexpr double kInchPerDot = 0.005555555555555556;
inline constexpr double kPointsPerInch = 72;
inline constexpr double kDotsPerInch = 180;
inline constexpr double kInchPerPoint = 0.013888888888888888;

// HRI positions (index into the position list) and fonts.
inline constexpr int kHriNone = 0;
inline constexpr int kHriAbove = 1;
inline constexpr int kHriBelow = 2;
inline constexpr int kHriBoth = 3;
inline constexpr int kHriFontA = 0;
inline constexpr int kHriFontB = 1;

// The dots the HRI text adds to the bar height; positions and fonts outside
// the lists add nothing.
std::uint32_t HriRoom(int hriPosition, int hriFont);

// A height in dots as points, rounded to the half point the application can
// choose: below .4 down, from .4 to below .7 to the half, from .7 up.
double SnappedPoints(std::uint32_t dots);

// The total height stored for a bar height and HRI text: bar plus room,
// snapped to a half point and back to dots (truncated); never 0.
std::uint32_t TotalHeight(std::uint32_t barHeight, int hriPosition, int hriFont);

// What the page shows of a stored total height, each "%5.1f".
std::string MillimetreText(std::uint32_t totalHeight);
std::string PointText(std::uint32_t totalHeight);

// An edit's signed number as the 1D page takes it: compared as unsigned, so
// a negative entry is past any maximum.
std::uint32_t ClampUnsigned(int value, std::uint32_t low, std::uint32_t high);
// As the 2D page takes it: only the low byte counts ("-1" is 255).
std::uint8_t ClampLowByte(int value, std::uint8_t low, std::uint8_t high);

}  // namespace plugin
