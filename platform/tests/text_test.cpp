#include <gtest/gtest.h>

#include "text.h"

namespace {

struct NumberCase {
    const char* text;
    int expected;
};

TEST(AsciiToInt, ConvertsAsTheCLibraryDoes) {
    const NumberCase cases[] = {
        {"9600", 9600},
        {"  42", 42},
        {"+7", 7},
        {"-5", -5},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"0", 0},
        {" \t19200 baud", 19200},
        {"- 3", 0},
        {"2147483647", 2147483647},
        {"99999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plat::AsciiToInt(c.text), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(plat::AsciiToLong(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(Text, CaseFoldingIsAsciiOnly) {
    EXPECT_TRUE(plat::EqualsNoCase("Win7", "WIN7"));
    EXPECT_FALSE(plat::EqualsNoCase("Win7", "Win71"));
    EXPECT_FALSE(plat::EqualsNoCase("Tíquete", "TÍQUETE")) << "bytes beyond ASCII compare exactly";
    EXPECT_EQ(plat::Trim(" \t value \r\n"), "value");
    EXPECT_EQ(plat::Trim(" \r\n"), "");
}

}  // namespace
