#pragma once
// The simulated machine's ANSI code page (1252, as a Portuguese or Western
// Windows has it). The programs speak UTF-8 to the ports and their adapters
// hand A functions the ANSI bytes; the simulated machine keeps names in those
// bytes, so a path that reaches it converted twice, or not at all, names
// another file, as it would on Windows.
#include <string>
#include <string_view>

namespace sim {

// UTF-8 to code page 1252. A character the code page lacks, and any byte that
// is not part of a well-formed UTF-8 sequence, becomes '?', as the system's
// conversion without best fit makes it.
std::string ToAnsi(std::string_view utf8);
// Code page 1252 to UTF-8; the five bytes the code page leaves undefined
// stand for the control characters of the same number, as on Windows.
std::string FromAnsi(std::string_view ansi);
// Lower case of an ANSI text as the file system compares names: A-Z and the
// accented capitals of the code page.
std::string FoldAnsiCase(std::string_view ansi);

}  // namespace sim
