// What the configuration files give the installation: the driver's
// dependent files within their bound, the monitors from either layout, the
// sections of each system.
#include <gtest/gtest.h>

#include "core/driver_key_reader.h"
#include "core/os_code.h"
#include "core/printer_module.h"
#include "sim/sim_machine.h"
#include "tests/sample_package.h"

namespace {

using namespace setup;

constexpr const char* kOther = "C:\\Outro\\";

// A package of one receipt model "M" for XP whose dependent files total
// `listBytes` bytes with their terminators.
void WriteModel(sim::SimFiles& files, std::size_t listBytes) {
    // Fixed part: "M.GPD" 6, TTFSUB.GPD 11, UNIRES.DLL 11, STDNAMES.GPD 13, the
    // list's own NUL 1 = 42; the rest goes into the data-file library's name.
    const std::string library(listBytes - 42 - 1 - 4, 'L');
    files.Write(std::string(kOther) + "DRVCONFIG\\setup_receipt.ini",
                "[M.XP]\r\nSTDDataFile=M.GPD\r\nSTDDataFileDLLName=" + library +
                    ".DLL\r\nSTDDataOemuiDLL=0\r\nSTDDataOemuniDLL=0\r\nSTDDataOemuniini=0\r\nGDI2KDDKDEV=1\r\n");
}

TEST(DriverDescription, TheDependentFileListMustFitItsBytes) {
    for (std::size_t bytes : {200u, 201u}) {
        SCOPED_TRACE(bytes);
        sim::SimMachine machine;
        WriteModel(machine.files, bytes);
        DriverKeyReader reader(machine.profile, MakeReaderPaths(kOther));
        plat::DriverInfo3 driver;
        const bool fits = reader.ReadDriverDescription({kModuleReceipt, "M", OsCode::kWinXp, 0}, &driver);
        EXPECT_EQ(fits, bytes <= kDependentFilesBytes);
        if (fits) {
            ASSERT_EQ(driver.dependentFiles.size(), 5u);
            std::size_t total = 1;
            for (const auto& name : driver.dependentFiles) total += name.size() + 1;
            EXPECT_EQ(total, bytes);
        }
    }
}

TEST(DriverDescription, DependentFilesOnlyFromWindows2000On) {
    sim::SimMachine machine;
    setup_test::LoadSamplePackage(machine.files);
    DriverKeyReader reader(machine.profile, MakeReaderPaths(setup_test::kPackageFolder));
    for (int index = 0; index < kOsCodeCount; ++index) {
        const OsCode target = *OsCodeAt(index);
        SCOPED_TRACE(index);
        plat::DriverInfo3 driver;
        ASSERT_TRUE(reader.ReadDriverDescription({kModuleReceipt, "KTR-P410", target, 1}, &driver));
        EXPECT_EQ(driver.dependentFiles.empty(), !FromWindows2000(target));
        EXPECT_EQ(driver.cVersion, target == OsCode::kWin98Me ? 0u : target == OsCode::kNt4 ? 2u : 3u);
        EXPECT_EQ(driver.environment, target == OsCode::kWin98Me ? "Windows 4.0" : "");
        EXPECT_EQ(driver.name, "KTR-P410 Receipt Raster");
        EXPECT_FALSE(driver.monitorName.has_value());
    }
}

TEST(MonitorDescriptions, ReadFromSetupIniOrElseFromTheModuleFile) {
    const std::string monitors =
        "[COMMON-MONITOR.XP]\r\nCOMMONitorPName=Serial In Module\r\nCOMMONitorPDLLName=MODCOM.DLL\r\n"
        "COMMONitorPUIDLLName=0\r\nCOMMONitorVersion=7\r\nUSBLMONitorName=Lang In Module\r\n"
        "USBLMONitorDLLName=MODLM.DLL\r\nUSBLMONitorVersion=9\r\n";
    struct Case {
        const char* what;
        bool setupIniHasThem;
        const char* com;
        std::uint32_t comVersion;
        const char* language;
    } cases[] = {
        {"module file", false, "Serial In Module", 7, "Lang In Module"},
        {"setup.ini first", true, "KTR Serial Port", 3, "KTR USB Language Monitor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim::SimMachine machine;
        setup_test::LoadSamplePackage(machine.files);
        if (!c.setupIniHasThem) {
            machine.files.Write(std::string(setup_test::kPackageFolder) + "DRVCONFIG\\setup.ini",
                                "[DEVICENAME]\r\nDEVICENUMBER=0\r\n");
        }
        const std::string module = std::string(setup_test::kPackageFolder) + "DRVCONFIG\\setup_receipt.ini";
        machine.files.Write(module, *machine.files.Read(module) + monitors);
        DriverKeyReader reader(machine.profile, MakeReaderPaths(setup_test::kPackageFolder));
        const MonitorDescriptions read = reader.ReadMonitorDescriptions(kModuleReceipt, OsCode::kWinXp);
        EXPECT_EQ(read.com.name, c.com);
        EXPECT_EQ(read.com.version, c.comVersion);
        EXPECT_EQ(read.language.name, c.language);
    }
}

TEST(MonitorDescriptions, ServerTwoThousandEightMixesSectionsAndAMissingLanguageMonitorIsNone) {
    sim::SimMachine machine;
    setup_test::LoadSamplePackage(machine.files);
    DriverKeyReader reader(machine.profile, MakeReaderPaths(setup_test::kPackageFolder));
    const MonitorDescriptions server2008 = reader.ReadMonitorDescriptions(kModuleReceipt, OsCode::kServer2008);
    EXPECT_EQ(server2008.com.version, 3u) << "port monitors from .2003";
    EXPECT_EQ(server2008.usb.version, 5u);
    EXPECT_EQ(server2008.language.version, 3u) << "the language monitor from .2008";
    EXPECT_EQ(reader.ReadProcessorVersion(), 3u);

    machine.files.Write(std::string(setup_test::kPackageFolder) + "DRVCONFIG\\setup.ini",
                        "[COMMON-MONITOR.XP]\r\nUSBMONitorPName=KTR USB Port\r\n");
    const MonitorDescriptions none = reader.ReadMonitorDescriptions(kModuleReceipt, OsCode::kWinXp);
    EXPECT_EQ(none.language.name, "");
    EXPECT_EQ(none.language.dllName, "");
    EXPECT_EQ(none.language.version, 0u);
    EXPECT_EQ(reader.ReadProcessorVersion(), 0u);
}

}  // namespace
