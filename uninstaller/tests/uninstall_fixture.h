#pragma once
// The uninstaller's dialog on a simulated machine on which the package was
// installed: the package's Uninstall.ini in the current folder, printers,
// drivers, monitors and processors in the spooler, their files on disk.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/uninstaller_dialog.h"
#include "resource.h"
#include "sim/sim_machine.h"

namespace uninstall_test {

constexpr const char* kFolder = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora";
constexpr const char* kSystemDir = "C:\\WINDOWS\\system32";
constexpr const char* kProcessorDir = "C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86";

inline std::string PackageFile(const char* relative) {
    std::ifstream in(std::filesystem::path(PP_PACKAGE_DIR) / relative, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// What GetVersionEx reports for each of the uninstaller's codes.
inline plat::OsVersion VersionOfCode(int code) {
    switch (code) {
        case 0:
            return {plat::kPlatformWindows, 4, 10};
        case 1:
            return {plat::kPlatformNt, 4, 0};
        case 2:
            return {plat::kPlatformNt, 5, 0};
        case 3:
            return {plat::kPlatformNt, 5, 1};
        case 4:
            return {plat::kPlatformNt, 5, 2};
        case 7:
            return {plat::kPlatformNt, 6, 1};
        default:
            return {plat::kPlatformNt, 6, 0};
    }
}

struct UninstallFixture {
    explicit UninstallFixture(int code = 7) {
        machine.system.version = VersionOfCode(code);
        if (code == 6) {
            machine.registry.PutString(plat::RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                       "ProductName", "Windows Server (R) 2008 Standard");
        }
        if (code == 0) machine.spooler.localEnvironment = "Windows 4.0";
        machine.system.currentDirectory = kFolder;
        machine.files.Write(std::string(kFolder) + "\\Setup.exe", "program");
        machine.files.Write(std::string(kFolder) + "\\Uninstall.ini", PackageFile("Uninstall.ini"));
        for (int n = 1; n <= 8; ++n) machine.spooler.ports.push_back("MDCOM" + std::to_string(n) + ":");
        // The template's state: every control enabled.
        controls.window = 0x1234;
    }

    void Driver(const std::string& name) {
        plat::DriverInfo3 driver;
        driver.cVersion = 3;
        driver.name = name;
        driver.environment = machine.spooler.localEnvironment;
        machine.spooler.drivers.push_back(driver);
    }
    // A printer of `driver` on `port`, with `jobs` waiting.
    void Printer(const std::string& name, const std::string& driver,
                 const std::string& port = "LPT1:", std::uint32_t jobs = 0) {
        bool known = false;
        for (const auto& d : machine.spooler.drivers) known = known || d.name == driver;
        if (!known) Driver(driver);
        plat::PrinterHandle handle = 0;
        plat::PrinterInfo2 info{name, port, driver, "WinPrint", 0, {}, 0};
        if (machine.spooler.AddPrinter(info, &handle) == 0) (void)machine.spooler.ClosePrinter(handle);
        if (jobs) machine.spooler.QueueJobs(name, jobs);
    }
    void Monitor(const std::string& name, const std::string& file, const std::string& uiFile = "") {
        machine.files.Write(std::string(kSystemDir) + "\\" + file, "monitor");
        if (!uiFile.empty()) machine.files.Write(std::string(kSystemDir) + "\\" + uiFile, "monitor ui");
        (void)machine.spooler.AddMonitor(name, "", file);
    }
    void Processor(const std::string& name, const std::string& file) {
        machine.files.Write(std::string(kProcessorDir) + "\\" + file, "processor");
        (void)machine.spooler.AddPrintProcessor("", file, name);
    }
    // The package as a Windows 7 installation of a receipt printer on a
    // virtual serial port leaves it, and a foreign printer beside it.
    void InstalledPackage() {
        Monitor("KTR Serial Port", "KTRCOMMN.DLL", "KTRCOMUI.DLL");
        Processor("KTRPrint", "KTRPROC.DLL");
        Printer("KTR-P410(S)", "KTR-P410 Receipt", "MDCOM1:");
        Printer("Outra impressora", "Generic / Text Only");
    }

    uninstall::UninstallerServices Services() {
        return {machine.profile,  machine.registry, machine.files, machine.spooler,
                machine.services, machine.system,   machine.clock, machine.desktop};
    }

    void Open() { dialog.OnInit(controls); }
    void Tick(const std::string& item) {
        for (int i = 0; i < controls.ItemCount(IDC_ITEMS); ++i) {
            if (controls.ItemText(IDC_ITEMS, i) == item) controls.CheckItem(IDC_ITEMS, i, true);
        }
    }
    // "&Desinstalar", and the worker run to its end.
    void Remove() {
        dialog.OnCommand(controls, IDC_UNINSTALL, plat::kBnClicked);
        dialog.WaitForWorker();
    }
    std::vector<std::string> Items() { return controls.controls[IDC_ITEMS].items; }
    std::vector<std::string> Log() { return controls.controls[IDC_LOG].items; }
    bool Enabled(int id) { return controls.controls[id].enabled; }

    sim::SimMachine machine;
    sim::SimControls controls;
    uninstall::UninstallerDialog dialog{Services()};
};

}  // namespace uninstall_test
