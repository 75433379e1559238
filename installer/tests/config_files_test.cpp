#include <gtest/gtest.h>

#include "core/config_files.h"
#include "core/os_code.h"
#include "sim/sim_machine.h"
#include "tests/sample_package.h"

namespace {

using namespace setup;

TEST(ConfigFolder, IsThePathUpToTheLastBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Setup.exe",
         "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\"},
        {"\\\\servidor\\drivers\\Setup.exe", "\\\\servidor\\drivers\\"},
        {"Setup.exe", ""},
        {"", ""},
        {"C:\\Setup.exe", "C:\\"},
    };
    for (const auto& [path, folder] : cases) EXPECT_EQ(ConfigFolder(path), folder) << path;
}

TEST(BuildConfigPaths, NamesTheSetupFileAndTheModuleFile) {
    const std::pair<int, const char*> cases[] = {
        {kModuleReceipt, "C:\\P\\DRVCONFIG\\setup_receipt.ini"},
        {kModuleTicket, "C:\\P\\DRVCONFIG\\setup_Ticket.ini"},
        {kModuleLabel, "C:\\P\\DRVCONFIG\\setup_Lable.ini"},
        {kModuleEmbedded, "C:\\P\\DRVCONFIG\\setup_Embedded.ini"},
        {4, "C:\\P\\"},
        {-1, "C:\\P\\"},
    };
    for (const auto& [module, expected] : cases) {
        std::string setupIni = "stale", moduleIni = "stale";
        EXPECT_TRUE(BuildConfigPaths("C:\\P\\", module, &setupIni, &moduleIni));
        EXPECT_EQ(setupIni, "C:\\P\\DRVCONFIG\\setup.ini");
        EXPECT_EQ(moduleIni, expected) << module;
    }
}

TEST(BuildConfigPaths, APathThatDoesNotFitIsLeftEmptyNotCut) {
    // 199 characters is the most a path may have.
    const std::string fits(199 - std::string_view("DRVCONFIG\\setup_Embedded.ini").size(), 'x');
    std::string setupIni, moduleIni;
    EXPECT_TRUE(BuildConfigPaths(fits, kModuleEmbedded, &setupIni, &moduleIni));
    EXPECT_EQ(moduleIni.size(), 199u);

    const std::string tooLong = fits + "y";
    EXPECT_FALSE(BuildConfigPaths(tooLong, kModuleEmbedded, &setupIni, &moduleIni));
    EXPECT_EQ(moduleIni, "");
    EXPECT_EQ(setupIni.size(), tooLong.size() + std::string_view("DRVCONFIG\\setup.ini").size())
        << "the shorter setup.ini path still fits";
}

TEST(SectionSuffix, NormalAndAlternateRules) {
    const char* normal[] = {"98", "NT", "2K", "XP", "2003", "Vista", "2008", "Win7"};
    const char* alternate[] = {"98", "NT", "2K", "XP", "2003", "Vista", "2003", "WIN7"};
    for (int code = 0; code < kOsCodeCount; ++code) {
        EXPECT_EQ(SectionSuffix(*OsCodeAt(code)), normal[code]) << code;
        EXPECT_EQ(AlternateSectionSuffix(*OsCodeAt(code)), alternate[code]) << code;
    }
    EXPECT_EQ(SectionSuffix(static_cast<OsCode>(8)), "");
    EXPECT_EQ(AlternateSectionSuffix(OsCode::kUnknown), "");
}

TEST(MakeSectionName, FitsIn199Characters) {
    std::string section;
    const std::string model(199 - 6, 'M');  // ".Vista" adds six
    EXPECT_TRUE(MakeSectionName(model, "Vista", &section));
    EXPECT_EQ(section.size(), 199u);
    EXPECT_FALSE(MakeSectionName(model + "M", "Vista", &section));
    EXPECT_EQ(section, "");
}

class PackageValues : public ::testing::Test {
protected:
    void SetUp() override { setup_test::LoadSamplePackage(machine.files); }
    std::string ModulePath(int module) {
        std::string setupIni, moduleIni;
        EXPECT_TRUE(BuildConfigPaths(setup_test::kPackageFolder, module, &setupIni, &moduleIni));
        return moduleIni;
    }
    sim::SimMachine machine;
};

TEST_F(PackageValues, PortKeysOfTheChosenModel) {
    const std::string receipt = ModulePath(kModuleReceipt);
    EXPECT_EQ(ReadModelPortNumber(machine.profile, receipt, "KTR-P410", "BaudRate"), 9600);
    EXPECT_EQ(ReadModelPortNumber(machine.profile, receipt, "KTR-P410", "USBSUPPORTED"), 1);
    EXPECT_EQ(ReadModelPortNumber(machine.profile, receipt, "KTR-P410", "AdvancedSetup"), 1);
    EXPECT_EQ(ReadModelPortNumber(machine.profile, receipt, "Nonexistent", "AdvancedSetup"), 0);
    // The label module file is stored as setup_lable.ini; the wizard asks for setup_Lable.ini.
    const std::string label = ModulePath(kModuleLabel);
    EXPECT_EQ(ReadModelPortNumber(machine.profile, label, "KTR-L60", "LPTDEFAULT"), 1);
    EXPECT_EQ(ReadModelPortNumber(machine.profile, label, "KTR-L60", "BaudRate"), 0) << "absent key reads 0";
    EXPECT_EQ(ReadModelPortNumber(machine.profile, ModulePath(kModuleTicket), "KTR-T200", "SystemVistaSupported"), 0);
}

TEST_F(PackageValues, ValuesConvertAsAtoi) {
    machine.files.Write("C:\\t.ini", "[S]\r\nWord=abc\r\nTwo=2x\r\nMinus=-1\r\nBig=4294967295\r\n");
    EXPECT_FALSE(ReadConfigFlag(machine.profile, "C:\\t.ini", "S", "Word", 200));
    EXPECT_TRUE(ReadConfigFlag(machine.profile, "C:\\t.ini", "S", "Two", 200));
    EXPECT_TRUE(ReadConfigFlag(machine.profile, "C:\\t.ini", "S", "Minus", 200));
    EXPECT_FALSE(ReadConfigFlag(machine.profile, "C:\\t.ini", "S", "Absent", 200));
    EXPECT_EQ(ReadConfigLong(machine.profile, "C:\\t.ini", "S", "Big", 50), 2147483647L);
    EXPECT_EQ(ReadConfigText(machine.profile, "C:\\t.ini", "S", "Absent", 50), "0");
    EXPECT_EQ(ReadConfigText(machine.profile, "C:\\missing.ini", "S", "Word", 50), "0");
}

TEST_F(PackageValues, Server2008TakesFilesFrom2008AndPrinterKeysFrom2003) {
    const std::string receipt = ModulePath(kModuleReceipt);
    std::string files, printer;
    ASSERT_TRUE(MakeSectionName("KTR-P410", SectionSuffix(OsCode::kServer2008), &files));
    ASSERT_TRUE(MakeSectionName("KTR-P410", AlternateSectionSuffix(OsCode::kServer2008), &printer));
    EXPECT_EQ(ReadConfigText(machine.profile, receipt, files, "STDDataFile", 200), "KTRP410_2008.GPD");
    EXPECT_EQ(ReadConfigText(machine.profile, receipt, printer, "STDPrintProcessor", 50), "KTRPrint");
    EXPECT_EQ(ReadConfigLong(machine.profile, receipt, printer, "ATTRIBUTES", 50), 576);
    EXPECT_EQ(ReadConfigLong(machine.profile, receipt, files, "ATTRIBUTES", 50), 2112)
        << "the 2008 section holds other printer keys, which must not be read";
    // Windows 7's alternate suffix WIN7 names the same section as Win7.
    ASSERT_TRUE(MakeSectionName("KTR-P410", AlternateSectionSuffix(OsCode::kWin7), &printer));
    ASSERT_TRUE(MakeSectionName("KTR-P410", SectionSuffix(OsCode::kWin7), &files));
    EXPECT_EQ(ReadConfigText(machine.profile, receipt, printer, "STDDRIVERNAME", 50),
              ReadConfigText(machine.profile, receipt, files, "STDDriverName", 50));
    EXPECT_NE(ReadConfigText(machine.profile, receipt, printer, "STDDRIVERNAME", 50), "0");
}

}  // namespace
