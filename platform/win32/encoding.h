#pragma once
// Text crosses into the platform's A functions in the ANSI code page and into
// W functions as UTF-16; everything inside the program is UTF-8.
#include <string>
#include <string_view>

namespace win32 {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);

}  // namespace win32
