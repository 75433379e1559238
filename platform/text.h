#pragma once
// Small text helpers shared by every deliverable. Case folding is ASCII-only,
// as the platform does for the names these helpers compare (file, section, key
// and registry names of this package).
#include <string>
#include <string_view>

namespace plat {

char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool Contains(std::string_view text, std::string_view part);
// Text without leading and trailing blanks, tabs and line ends.
std::string_view Trim(std::string_view text);

// atoi/atol of the C library: leading white space, an optional sign, then
// decimal digits up to the first other character; text that is not a number
// gives 0. Both are 32 bits wide, as on the target platform; values past that
// range are clamped.
int AsciiToInt(std::string_view text);
// A program's name for its single-instance mutex: the executable's file name
// without folder and extension.
std::string ApplicationName(std::string_view executablePath);
long AsciiToLong(std::string_view text);
// `value` in hexadecimal with at least `digits` digits, as "%0*X" (capitals)
// or "%0*x" prints it.
std::string HexText(unsigned long value, int digits, bool capitals);

}  // namespace plat
