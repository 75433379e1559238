#include "sim/sim_code_page.h"

#include <array>
#include <cstdint>

namespace sim {

namespace {
// What 0x80..0x9F stand for; the rest of the upper half is Latin-1 itself.
constexpr std::array<char32_t, 32> kHighControls{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

char ByteOf(char32_t point) {
    if (point < 0x80 || (point >= 0xA0 && point <= 0xFF)) return static_cast<char>(point);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == point) return static_cast<char>(0x80 + i);
    }
    return '?';
}

void AppendUtf8(char32_t point, std::string* out) {
    if (point < 0x80) {
        *out += static_cast<char>(point);
    } else if (point < 0x800) {
        *out += static_cast<char>(0xC0 | (point >> 6));
        *out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        *out += static_cast<char>(0xE0 | (point >> 12));
        *out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at `text[at]` and its code
// point; 0 when the bytes there are no such sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t* point) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        *point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and points past Unicode are no characters.
    const char32_t least = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *point = value;
    return length;
}
}  // namespace

std::string ToAnsi(std::string_view utf8) {
    std::string ansi;
    ansi.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t point = 0;
        const std::size_t length = DecodeUtf8(utf8, at, &point);
        ansi += length == 0 ? '?' : ByteOf(point);
        at += length == 0 ? 1 : length;
    }
    return ansi;
}

std::string FromAnsi(std::string_view ansi) {
    std::string utf8;
    utf8.reserve(ansi.size() * 2);
    for (char c : ansi) AppendUtf8(CodePointOf(static_cast<unsigned char>(c)), &utf8);
    return utf8;
}

std::string FoldAnsiCase(std::string_view ansi) {
    std::string folded(ansi);
    for (char& c : folded) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
            c = static_cast<char>(byte + 0x20);
        } else if (byte == 0x8A || byte == 0x8C || byte == 0x8E) {
            c = static_cast<char>(byte + 0x10);
        } else if (byte == 0x9F) {
            c = static_cast<char>(0xFF);
        }
    }
    return folded;
}

}  // namespace sim
