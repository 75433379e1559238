#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "core/command_text.h"

namespace {

using namespace plugin;
using Bytes = std::vector<std::uint8_t>;

std::u16string Repeat(std::u16string_view part, std::size_t times) {
    std::u16string text;
    for (std::size_t i = 0; i < times; ++i) text += part;
    return text;
}

struct ParseRow {
    const char* name;
    std::u16string_view text;
    Bytes bytes;
};

const ParseRow kParseRows[] = {
    {"Example", u"1D 56 42 00", {0x1D, 0x56, 0x42, 0x00}},
    {"WithoutBlanks", u"1D564200", {0x1D, 0x56, 0x42, 0x00}},
    {"LowerCase", u"1d 4b ef", {0x1D, 0x4B, 0xEF}},
    {"SingleDigits", u"1 2 3", {0x01, 0x02, 0x03}},
    {"OddRunEndsInOneDigit", u"123", {0x12, 0x03}},
    {"OddRunsBetweenBlanks", u"ABC DE F", {0xAB, 0x0C, 0xDE, 0x0F}},
    {"MinusAndPoint", u"-.", {0x00}},
    {"LoneDigit", u"F", {0x0F}},
    {"LoneDigitAndBlank", u"F ", {0x0F}},
    {"Empty", u"", {}},
    {"OnlyBlanks", u"   ", {}},
    {"RepeatedBlanks", u"  1D   56 ", {0x1D, 0x56}},
    {"OtherLetters", u"gx#z", {0x00, 0x00}},
    {"PastedTab", u"1\t2", {0x10, 0x02}},
    {"PastedLineBreak", u"1D\r\n56", {0x1D, 0x00, 0x56}},
    {"NoBreakSpaceIsNotABlank", u"1\u00A02", {0x10, 0x02}},
    // Characters whose low byte is a digit or a blank must not count as one.
    {"WideCharactersAreNotDigits", u"\u0141\u0131\u0146\u0120", {0x00, 0x00}},
    {"FullWidthDigits", u"\uFF11\uFF24", {0x00}},
    {"SurrogatePair", u"\U0001F600 7", {0x00, 0x07}},
    {"AccentedLetters", u"é1 ç", {0x01, 0x00}},
};

class ParseCommandTextRows : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseCommandTextRows, GivesBytes) {
    EXPECT_EQ(ParseCommandText(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Examples, ParseCommandTextRows, ::testing::ValuesIn(kParseRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatCommandBytes, TwoUpperCaseDigitsAndABlankPerByte) {
    EXPECT_EQ(FormatCommandBytes({}), u"");
    EXPECT_EQ(FormatCommandBytes(Bytes{0x1D, 0x56, 0x42, 0x00}), u"1D 56 42 00 ");
    EXPECT_EQ(FormatCommandBytes(Bytes{0x00, 0x0F, 0x10, 0xAB, 0xFF}), u"00 0F 10 AB FF ");
}

TEST(FormatCommandBytes, ParsingTheTextGivesTheBytesBack) {
    Bytes every(256);
    std::iota(every.begin(), every.end(), 0);
    EXPECT_EQ(ParseCommandText(FormatCommandBytes(every)), every);
}

TEST(ParseCommandText, LongTextIsParsedWhole) {
    // A paste longer than the box holds keeps its tail: it is refused by the
    // length rule or stored whole, never stored cut short.
    const std::u16string text = Repeat(u" ", kCommandTextLimit) + u"1D 56";
    EXPECT_EQ(ParseCommandText(text), (Bytes{0x1D, 0x56}));
}

TEST(StoreCommand, StoresOnlyWhatFits) {
    struct Row {
        std::size_t pairs, homeSize;
        bool stored;
    };
    // 256 bytes is the size of the translation table's hand-over buffer.
    for (const Row row : {Row{0, 128, true}, Row{1, 128, true}, Row{128, 128, true}, Row{129, 128, false},
                          Row{200, 128, false}, Row{2, 256, true}, Row{5, 4, false}}) {
        const Bytes bytes = ParseCommandText(Repeat(u"A5 ", row.pairs));
        Bytes home(row.homeSize, 0xEE);
        std::uint8_t count = 77;
        EXPECT_EQ(StoreCommand(bytes, home, &count), row.stored) << row.pairs << " pairs";
        // Stored: the bytes, then zeros to the end of the home. Refused: nothing touched.
        Bytes expected(row.homeSize, row.stored ? 0x00 : 0xEE);
        if (row.stored) std::fill_n(expected.begin(), row.pairs, 0xA5);
        EXPECT_EQ(home, expected) << row.pairs << " pairs";
        EXPECT_EQ(count, row.stored ? row.pairs : 77) << row.pairs << " pairs";
    }
}

TEST(FilterCommandKey, DecidesByCharacterAndKeys) {
    using enum CommandKeyAction;
    struct Row {
        std::u16string_view characters;
        CommandKeyState keys;
        CommandKeyAction action;
    };
    const Row rows[] = {
        {u"0123456789abcdefABCDEF .-\b", {}, Pass},
        {u"gGxX#\r\x1B\t\u00E9\u0141\u0130", {}, Swallow},
        {u"\x16\x03g", {.ctrlDown = true}, Pass},  // Ctrl+V, Ctrl+C, anything with Ctrl
        {u"\t1g", {.tabDown = true}, NextControl},
        {u"\t", {.tabDown = true, .ctrlDown = true}, NextControl},
        {u"\t", {.tabDown = true, .shiftDown = true}, PreviousControl},
    };
    for (const Row& row : rows) {
        for (const char16_t c : row.characters) {
            EXPECT_EQ(FilterCommandKey(c, row.keys), row.action)
                << "character " << static_cast<int>(c) << " tab " << row.keys.tabDown << " shift " << row.keys.shiftDown
                << " ctrl " << row.keys.ctrlDown;
        }
    }
}

}  // namespace
