// Profile files as GetPrivateProfileString reads them. The same cases run
// against the simulation and against the real platform.
#include <gtest/gtest.h>

#include "tests/contract_env.h"

namespace {

using contract::Env;

constexpr std::string_view kIni =
    "; package file\r\n"
    "[DEVICENAME]\r\n"
    "DEVICENUMBER=3\r\n"
    "  Spaced Key  =  value with blanks  \r\n"
    "Quoted=\"  inside quotes  \"\r\n"
    "Long=ABCDEFGHIJ\r\n"
    "Empty=\r\n"
    "Accent=Tíquete\r\n"
    "[Win7]\r\n"
    "STDDriverName=KTR Receipt\r\n";

struct ReadCase {
    const char* what;
    const char* section;
    const char* key;
    const char* defaultText;
    std::size_t bufferSize;
    const char* expected;
};

class ProfileContract : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileContract, ReadsAsThePlatformDoes) {
    const ReadCase& c = GetParam();
    const std::string path = Env().WriteFile("contract.ini", kIni);
    EXPECT_EQ(Env().profile().GetString(path, c.section, c.key, c.defaultText, c.bufferSize), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileContract,
    ::testing::Values(ReadCase{"plain value", "DEVICENAME", "DEVICENUMBER", "0", 50, "3"},
                      ReadCase{"section and key without regard to case", "devicename", "devicenumber", "0", 50, "3"},
                      ReadCase{"WIN7 names the Win7 section", "WIN7", "STDDRIVERNAME", "0", 50, "KTR Receipt"},
                      ReadCase{"blanks around key and value dropped", "DEVICENAME", "Spaced Key", "0", 50,
                               "value with blanks"},
                      ReadCase{"one pair of quotes removed", "DEVICENAME", "Quoted", "0", 50, "  inside quotes  "},
                      ReadCase{"value cut to the buffer less one", "DEVICENAME", "Long", "0", 5, "ABCD"},
                      ReadCase{"value that just fits", "DEVICENAME", "Long", "0", 11, "ABCDEFGHIJ"},
                      ReadCase{"buffer of one holds nothing", "DEVICENAME", "Long", "0", 1, ""},
                      ReadCase{"empty value is not the default", "DEVICENAME", "Empty", "0", 50, ""},
                      ReadCase{"missing key gives the default", "DEVICENAME", "DEFAULTNAME", "0", 50, "0"},
                      ReadCase{"missing section gives the default", "Vista", "STDDriverName", "0", 50, "0"},
                      ReadCase{"trailing blanks of the default dropped", "Vista", "X", "none  ", 50, "none"},
                      ReadCase{"default cut to the buffer too", "Vista", "X", "default", 4, "def"},
                      ReadCase{"accented text survives the code page", "DEVICENAME", "Accent", "0", 50, "Tíquete"},
                      ReadCase{"accented text cut in the code page's bytes", "DEVICENAME", "Accent", "0", 5, "Tíqu"},
                      ReadCase{"keys are not searched across sections", "Win7", "DEVICENUMBER", "0", 50, "0"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ProfileContractFile, MissingFileGivesTheDefault) {
    EXPECT_EQ(Env().profile().GetString(Env().MissingFile(), "DEVICENAME", "DEVICENUMBER", "0", 50), "0");
}

TEST(ProfileContractFile, FileNameWithoutRegardToCase) {
    const std::string path = Env().WriteFile("setup_lable.ini", "[KTR-L60.PORT]\r\nBaudRate=9600\r\n");
    std::string mixed = path;
    mixed.replace(mixed.size() - std::string_view("setup_lable.ini").size(), std::string::npos, "setup_Lable.ini");
    EXPECT_EQ(Env().profile().GetString(mixed, "KTR-L60.PORT", "BaudRate", "0", 200), "9600");
    EXPECT_EQ(Env().profile().GetString(path, "KTR-L60.PORT", "BaudRate", "0", 200), "9600");
}

}  // namespace
