#include "core/record_text.h"

#include <algorithm>
#include <cstdint>

namespace plugin {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next code point of `text` from `at`, moving `at` past it. Overlong
// forms, surrogates, values past U+10FFFF and cut sequences are one U+FFFD
// for their first byte.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    int length = 0;
    char32_t c = 0, least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return kReplacement;
    }
    if (text.size() - at < static_cast<std::size_t>(length)) return kReplacement;
    for (int i = 0; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return kReplacement;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) return kReplacement;
    at += length;
    return c;
}
}  // namespace

std::string ReadRecordText(std::span<const char16_t> field) {
    std::string text;
    for (std::size_t i = 0; i < field.size() && field[i] != 0; ++i) {
        const char32_t unit = field[i];
        if (IsHighSurrogate(unit) && i + 1 < field.size() && IsLowSurrogate(field[i + 1])) {
            AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (field[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(text, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit);
        }
    }
    return text;
}

namespace {
// Fills the field with the text's units, at most `room` of them, and zeros.
void StoreUnits(std::span<char16_t> field, std::string_view text, std::size_t room) {
    std::fill(field.begin(), field.end(), u'\0');
    std::size_t used = 0;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextCodePoint(text, at);
        if (c < 0x10000) {
            if (used + 1 > room) break;
            field[used++] = static_cast<char16_t>(c);
        } else {
            if (used + 2 > room) break;
            field[used++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            field[used++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
}
}  // namespace

void StoreRecordText(std::span<char16_t> field, std::string_view text) {
    if (field.empty()) return;
    StoreUnits(field, text, field.size() - 1);  // the terminator's unit stays zero
}

void StoreRecordTextFilling(std::span<char16_t> field, std::string_view text) {
    StoreUnits(field, text, field.size());
}

std::size_t RecordTextUnits(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) units += NextCodePoint(text, at) < 0x10000 ? 1 : 2;
    return units;
}

}  // namespace plugin
