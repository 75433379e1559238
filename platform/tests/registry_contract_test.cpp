// The registry through RegistryKey. The same cases run against the simulation
// and against the real platform, in a scratch key of the current user.
#include <gtest/gtest.h>

#include <algorithm>

#include "registry_key.h"
#include "tests/contract_env.h"

namespace {

using contract::Env;
using plat::RegistryKey;
using plat::RootKey;

constexpr const char* kScratch = "Software\\PrinterPackageContract";
constexpr const char* kKey = "Software\\PrinterPackageContract\\Values";

class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        ASSERT_TRUE(RegistryKey::CreateKey(registry(), RootKey::CurrentUser, kKey));
        ASSERT_TRUE(key.Open(RootKey::CurrentUser, kKey)) << key.lastError();
    }
    void TearDown() override {
        key.Close();
        Clean();
    }
    static void Clean() {
        (void)RegistryKey::DeleteKey(registry(), RootKey::CurrentUser, kKey);
        (void)RegistryKey::DeleteKey(registry(), RootKey::CurrentUser, kScratch);
    }
    static plat::Registry& registry() { return Env().registry(); }

    RegistryKey key{registry()};
};

TEST_F(RegistryContract, OpeningAMissingKeyFailsWithFileNotFound) {
    RegistryKey other(registry());
    EXPECT_FALSE(other.Open(RootKey::CurrentUser, "Software\\PrinterPackageContract\\Missing"));
    EXPECT_EQ(other.lastError(), plat::kErrorFileNotFound);
    EXPECT_FALSE(other.IsOpen());
}

TEST_F(RegistryContract, OpeningAnotherKeyClosesTheFirst) {
    ASSERT_TRUE(key.WriteDword("First", 1));
    EXPECT_FALSE(key.Open(RootKey::CurrentUser, "Software\\PrinterPackageContract\\Missing"));
    // The key held before is gone even though the new one did not open.
    EXPECT_FALSE(key.WriteDword("Second", 2));
    EXPECT_EQ(key.lastError(), plat::kErrorInvalidHandle);
}

TEST_F(RegistryContract, DwordRoundTripAndWrongType) {
    ASSERT_TRUE(key.WriteDword("Version", 0xFFFFFFFEu));
    std::uint32_t value = 0;
    ASSERT_TRUE(key.ReadDword("version", &value)) << "value names compare without regard to case";
    EXPECT_EQ(value, 0xFFFFFFFEu);

    ASSERT_TRUE(key.WriteString("Text", "12"));
    value = 7;
    EXPECT_FALSE(key.ReadDword("Text", &value));
    EXPECT_EQ(value, 7u) << "output untouched on failure";

    EXPECT_FALSE(key.ReadDword("Absent", &value));
    EXPECT_EQ(key.lastError(), plat::kErrorFileNotFound);
}

TEST_F(RegistryContract, StringsAndTheCallersBuffer) {
    ASSERT_TRUE(key.WriteString("ProductName", "Windows Server® 2008 Standard"));
    std::string text = "untouched";
    ASSERT_TRUE(key.ReadString("ProductName", 256, &text));
    EXPECT_EQ(text, "Windows Server® 2008 Standard");

    text = "untouched";
    EXPECT_FALSE(key.ReadString("ProductName", 8, &text));
    EXPECT_EQ(key.lastError(), plat::kErrorMoreData);
    EXPECT_EQ(text, "untouched");
}

TEST_F(RegistryContract, SemicolonListDropsEmptyParts) {
    ASSERT_TRUE(key.WriteString("List", "USB001;;LPT1:;COM1:;"));
    std::vector<std::string> items;
    ASSERT_TRUE(key.ReadStringList("List", &items));
    EXPECT_EQ(items, (std::vector<std::string>{"USB001", "LPT1:", "COM1:"}));
}

TEST_F(RegistryContract, RawDataKeepsItsType) {
    const std::vector<std::uint8_t> dcb{28, 0, 0, 0, 0x80, 0x25, 0, 0};
    ASSERT_TRUE(key.WriteData("DCB", plat::kRegNone, dcb));
    plat::KeyHandle handle = 0;
    ASSERT_EQ(registry().OpenKey(RootKey::CurrentUser, kKey, &handle), plat::kErrorSuccess);
    plat::RegistryValue read;
    EXPECT_EQ(registry().QueryValue(handle, "DCB", 64, &read), plat::kErrorSuccess);
    EXPECT_EQ(read.type, plat::kRegNone);
    EXPECT_EQ(read.data, dcb);
    (void)registry().CloseKey(handle);
}

TEST_F(RegistryContract, EnumeratesValueNamesUntilNoMoreItems) {
    ASSERT_TRUE(key.WriteDword("KTR-P410(U) 1", 0));
    ASSERT_TRUE(key.WriteDword("KTR-D9(U) 2", 0));
    std::vector<std::string> names;
    std::string name;
    std::uint32_t index = 0;
    while (key.EnumValueName(index++, 200, &name)) names.push_back(name);
    EXPECT_EQ(key.lastError(), plat::kErrorNoMoreItems);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"KTR-D9(U) 2", "KTR-P410(U) 1"}));
}

TEST_F(RegistryContract, NameLongerThanTheBufferIsNotCut) {
    ASSERT_TRUE(key.WriteDword("A-rather-long-value-name", 1));
    std::string name = "untouched";
    EXPECT_FALSE(key.EnumValueName(0, 8, &name));
    EXPECT_EQ(key.lastError(), plat::kErrorMoreData);
    EXPECT_EQ(name, "untouched");
}

TEST_F(RegistryContract, DeleteKeyOnlyWithoutSubkeys) {
    long error = 0;
    EXPECT_FALSE(RegistryKey::DeleteKey(registry(), RootKey::CurrentUser, kScratch, &error))
        << "a key with subkeys stays";
    EXPECT_NE(error, plat::kErrorSuccess);
    key.Close();
    EXPECT_TRUE(RegistryKey::DeleteKey(registry(), RootKey::CurrentUser, kKey, &error)) << error;
    RegistryKey reopened(registry());
    EXPECT_FALSE(reopened.Open(RootKey::CurrentUser, kKey));
    EXPECT_EQ(reopened.lastError(), plat::kErrorFileNotFound);
}

TEST_F(RegistryContract, CreatingAnExistingKeyKeepsItsValues) {
    ASSERT_TRUE(key.WriteDword("Kept", 5));
    ASSERT_TRUE(RegistryKey::CreateKey(registry(), RootKey::CurrentUser, kKey)) << "creating an existing key opens it";
    std::uint32_t value = 0;
    ASSERT_TRUE(key.ReadDword("Kept", &value));
    EXPECT_EQ(value, 5u);
}

TEST_F(RegistryContract, ClosedKeyRefusesWork) {
    key.Close();
    std::uint32_t value = 0;
    EXPECT_FALSE(key.ReadDword("x", &value));
    EXPECT_EQ(key.lastError(), plat::kErrorInvalidHandle);
    EXPECT_TRUE(key.Close()) << "closing twice is harmless";
}

}  // namespace
