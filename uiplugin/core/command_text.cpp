#include "core/command_text.h"

#include <algorithm>

namespace plugin {

namespace {
constexpr char16_t kBlank = u' ';
constexpr char16_t kBackspace = 8;
constexpr std::u16string_view kTypedCharacters = u"0123456789abcdefABCDEF ";

std::uint8_t DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return static_cast<std::uint8_t>(c - u'0');
    if (c >= u'a' && c <= u'f') return static_cast<std::uint8_t>(c - u'a' + 10);
    if (c >= u'A' && c <= u'F') return static_cast<std::uint8_t>(c - u'A' + 10);
    return 0;
}
}  // namespace

std::vector<std::uint8_t> ParseCommandText(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + 1) / 2);
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == kBlank) {
            ++i;
            continue;
        }
        const std::uint8_t value = DigitValue(text[i]);
        if (i + 1 == text.size()) {
            bytes.push_back(value);
            break;
        }
        // A blank after a lone digit ends a one-digit byte and is used up with it.
        const char16_t next = text[i + 1];
        bytes.push_back(next == kBlank ? value : static_cast<std::uint8_t>(value * 16 + DigitValue(next)));
        i += 2;
    }
    return bytes;
}

std::u16string FormatCommandBytes(std::span<const std::uint8_t> bytes) {
    constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
    std::u16string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
        text += kBlank;
    }
    return text;
}

bool StoreCommand(std::span<const std::uint8_t> bytes, std::span<std::uint8_t> home, std::uint8_t* count) {
    if (bytes.size() > kMaxCommandBytes || bytes.size() > home.size()) return false;
    std::fill(home.begin(), home.end(), std::uint8_t{0});
    std::copy(bytes.begin(), bytes.end(), home.begin());
    *count = static_cast<std::uint8_t>(bytes.size());
    return true;
}

CommandKeyAction FilterCommandKey(char16_t character, CommandKeyState keys) {
    if (keys.tabDown) return keys.shiftDown ? CommandKeyAction::PreviousControl : CommandKeyAction::NextControl;
    if (character == kBackspace || character == u'.' || character == u'-') return CommandKeyAction::Pass;
    if (keys.ctrlDown) return CommandKeyAction::Pass;
    return kTypedCharacters.find(character) != std::u16string_view::npos ? CommandKeyAction::Pass
                                                                         : CommandKeyAction::Swallow;
}

}  // namespace plugin
