// Which Windows the uninstaller runs on, where Uninstall.ini is, and which of
// the machine's printers, monitors and processors belong to the package.
#include "core/uninstall_list.h"

#include <gtest/gtest.h>

#include "programs/os_code.h"
#include "core/uninstaller_text.h"
#include "tests/uninstall_fixture.h"

namespace {

using namespace uninstall;
using uninstall_test::UninstallFixture;

TEST(UninstallerOsCode, FromTheVersionAndTheProductName) {
    struct Case {
        plat::OsVersion version;
        const char* productName;
        int code;
    } cases[] = {
        {{plat::kPlatformWindows, 4, 10}, "", 0},
        {{plat::kPlatformNt, 4, 0}, "", 1},
        {{plat::kPlatformNt, 5, 0}, "", 2},
        {{plat::kPlatformNt, 5, 1}, "", 3},
        {{plat::kPlatformNt, 5, 2}, "", 4},
        {{plat::kPlatformNt, 5, 3}, "", 0},
        {{plat::kPlatformNt, 6, 0}, "Windows Vista (TM) Business", 5},
        {{plat::kPlatformNt, 6, 0}, "Windows Server (R) 2008 Standard", 6},
        {{plat::kPlatformNt, 6, 1}, "Windows 7 Professional", 7},
        {{plat::kPlatformNt, 6, 2}, "", 0},
        {{plat::kPlatformWin32s, 3, 1}, "", -1},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine;
        machine.system.version = c.version;
        machine.registry.PutString(plat::RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                   "ProductName", c.productName);
        EXPECT_EQ(programs::OsIndex(programs::UninstallerOsCode(machine.system, machine.registry)), c.code)
            << c.version.platformId << " " << c.version.major << "." << c.version.minor << " " << c.productName;
    }
}

TEST(PackagePatterns, EntriesByTheirIndexCharacter) {
    sim::SimMachine machine;
    std::string ini = "[MDPRINTER]\r\nPRINTERNUM=10\r\n";
    for (char c = '1'; c <= '9'; ++c) ini += std::string("PRINTERNAME") + c + "=P" + c + "\r\n";
    ini += "PRINTERNAME:=Tenth\r\n[MDMONITOR]\r\nMonitorNUM=500\r\nMONITORNAME1=M1\r\n[MDPROC]\r\nPROCNUM=x\r\n";
    machine.files.Write("C:\\U.ini", ini);
    const PackagePatterns patterns = ReadPackagePatterns(machine.profile, "C:\\U.ini");
    ASSERT_EQ(patterns.printers.size(), 10u);
    EXPECT_EQ(patterns.printers[9], "Tenth") << "the tenth entry's key ends in ':'";
    EXPECT_EQ(patterns.monitors.size(), static_cast<std::size_t>(kMaxPatterns)) << "a damaged count is held";
    EXPECT_EQ(patterns.monitors[1], "0") << "a missing entry reads as the default";
    EXPECT_TRUE(patterns.processors.empty()) << "a count that is not a number is none";
}

TEST(PackagePatterns, MatchIsASubstringTestAndAnEmptyPatternMatchesNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> patterns;
        bool matches;
    } cases[] = {
        {"KTR-P410 Receipt Raster", {"KTR-P410"}, true},
        {"Modelo KTR-Q350 antigo", {"KTR-P410", "KTR-Q350"}, true},
        {"ktr-p410 receipt", {"KTR-P410"}, false},
        {"Generic / Text Only", {"KTR-P410"}, false},
        {"Generic / Text Only", {""}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchesAny(c.name, c.patterns), c.matches) << c.name;
}

TEST(FindUninstallIni, TheCurrentFolderThenDrvconfig) {
    struct Case {
        const char* what;
        std::vector<std::string> files;  // relative to the package folder
        bool currentDirectoryFails;
        std::string path;
        int failure;
    } cases[] = {
        {"beside the program",
         {"Setup.exe", "Uninstall.ini"},
         false,
         "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Uninstall.ini",
         0},
        {"in DRVCONFIG",
         {"Setup.exe", "DRVCONFIG\\Uninstall.ini"},
         false,
         "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\DRVCONFIG\\Uninstall.ini",
         0},
        {"spelled in capitals, as an old CD gives it",
         {"Setup.exe", "UNINSTALL.INI"},
         false,
         "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Uninstall.ini",
         0},
        {"a copy of another name beside the program",
         {"Setup.exe", "Uninstall.ini.bak", "DRVCONFIG\\Uninstall.ini"},
         false,
         "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\DRVCONFIG\\Uninstall.ini",
         0},
        {"nowhere", {"Setup.exe", "DRVCONFIG\\setup.ini"}, false, "", IDS_NO_UNINSTALL_INI},
        {"no DRVCONFIG folder", {"Setup.exe"}, false, "", IDS_BAD_FILE_HANDLE},
        {"current folder unreadable", {"Uninstall.ini"}, true, "", IDS_NO_CURRENT_DIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim::SimMachine machine;
        machine.system.currentDirectory = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora";
        if (c.currentDirectoryFails) machine.system.currentDirectoryError = 5;
        for (const auto& file : c.files)
            machine.files.Write("C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\" + file, "x");
        UninstallerServices io{machine.profile,  machine.registry, machine.files, machine.spooler,
                               machine.services, machine.system,   machine.clock, machine.desktop};
        const IniSearch search = FindUninstallIni(io);
        EXPECT_EQ(search.path, c.path);
        EXPECT_EQ(search.failure, c.failure);
    }
}

// The program may be started from any folder of the user's: the search only
// looks at its entries. Uninstall.ini, copied read-only from a CD, loses that
// mark alone.
TEST(FindUninstallIni, OnlyTheFileFoundLosesItsReadOnlyMark) {
    sim::SimMachine machine;
    const std::string folder = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\";
    machine.system.currentDirectory = folder.substr(0, folder.size() - 1);
    for (const char* file :
         {"A.txt", "Setup.exe", "DRVCONFIG\\Left.bmp", "DRVCONFIG\\Uninstall.ini", "DRVCONFIG\\zz.ini"}) {
        machine.files.Write(folder + file, "x");
        machine.files.SetReadOnly(folder + file);
    }
    UninstallerServices io{machine.profile,  machine.registry, machine.files, machine.spooler,
                           machine.services, machine.system,   machine.clock, machine.desktop};
    ASSERT_EQ(FindUninstallIni(io).path, folder + "DRVCONFIG\\Uninstall.ini");
    EXPECT_EQ(machine.files.archived, std::vector<std::string>{}) << "no entry's attributes were reset";
    for (const char* file : {"A.txt", "Setup.exe", "DRVCONFIG\\Left.bmp", "DRVCONFIG\\zz.ini"}) {
        EXPECT_TRUE(machine.files.IsReadOnly(folder + file)) << file;
    }
    EXPECT_FALSE(machine.files.IsReadOnly(folder + "DRVCONFIG\\Uninstall.ini"));
}

TEST(FillList, PrintersThenMonitorsThenProcessorsOfThePackage) {
    struct Case {
        int code;
        std::vector<std::string> items;
    } cases[] = {
        {7, {"KTR-P410(S)", "KTR-L60(P)", "KTR Serial Port", "KTR USB Port", "KTRPrint"}},
        {0, {"KTR-P410(S)", "KTR-L60(P)", "KTR Serial Port", "KTR USB Port"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        UninstallFixture fixture(c.code);
        fixture.InstalledPackage();
        fixture.Monitor("KTR USB Port", "KTRUSBMN.DLL");
        fixture.Monitor("Outro monitor", "OUTRO.DLL");
        fixture.Printer("KTR-L60(P)", "KTR-L60 Label");
        fixture.Open();
        EXPECT_EQ(fixture.Items(), c.items);
        EXPECT_EQ(fixture.Log(), std::vector<std::string>{"Favor selecionar as impressoras a serem desinstaladas"});
        EXPECT_EQ(fixture.controls.Selection(IDC_LOG), 0);
        EXPECT_EQ(fixture.machine.spooler.OpenHandleCount(), 0u);
    }
}

}  // namespace
