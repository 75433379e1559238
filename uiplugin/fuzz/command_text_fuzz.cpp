// Arbitrary UTF-16 text in a command box: parsing stays within its bound, and
// every command that fits is shown as text that parses back to the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));

    const std::vector<std::uint8_t> bytes = plugin::ParseCommandText(text);
    if (bytes.size() > (text.size() + 1) / 2) __builtin_trap();

    std::uint8_t home[plugin::kMaxCommandBytes];
    std::uint8_t count = 0;
    if (plugin::StoreCommand(bytes, home, &count) != (bytes.size() <= plugin::kMaxCommandBytes)) __builtin_trap();
    if (bytes.size() > plugin::kMaxCommandBytes) return 0;
    if (count != bytes.size() || !std::equal(bytes.begin(), bytes.end(), home)) __builtin_trap();

    const std::u16string shown = plugin::FormatCommandBytes(bytes);
    if (shown.size() != 3 * bytes.size()) __builtin_trap();
    if (plugin::ParseCommandText(shown) != bytes) __builtin_trap();
    return 0;
}
