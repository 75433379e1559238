#include <windows.h>
#include <winspool.h>
// These names are the ports' operations here, not the A/W macros.
#undef AddMonitor
#undef AddPrinter
#undef AddPrinterDriver
#undef AddPrintProcessor
#undef CopyFile
#undef DeleteFile
#undef DeleteMonitor
#undef DeletePrinterDriver
#undef DeletePrintProcessor
#undef EnumMonitors
#undef EnumPrinters
#undef EnumPrintProcessors
#undef EnumPorts
#undef GetPrinter
#undef GetPrinterDriverDirectory
#undef GetPrintProcessorDirectory
#undef OpenPrinter
#undef SetDefaultPrinter
#undef StartDocPrinter
#undef EnumForms
#undef AddForm
#undef SetForm
#undef StartService
#undef WriteProfileString

#include <cstdio>
#include <map>
#include <vector>

#include "tests/contract_env.h"
#include "win32/encoding.h"
#include "win32/scoped_win32.h"
#include "win32/win32_files_install.h"
#include "win32/win32_profile.h"
#include "win32/win32_registry.h"
#include "win32/win32_services.h"
#include "win32/win32_spooler.h"
#include "win32/win32_spooler_install.h"
#include "win32/win32_system_info.h"

namespace contract {

namespace {
bool WriteBytes(const std::string& path, std::string_view bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

class Win32ContractEnv : public ContractEnv {
public:
    Win32ContractEnv() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        // Blanks and accents, as in the folders shops unpack the package into:
        // every case crosses the ANSI code page with its paths.
        folder_ = std::string(temp) + "pp-contract-" + std::to_string(GetCurrentProcessId()) +
                  win32::Utf8ToAnsi(" Área de Trabalho") + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    plat::Profile& profile() override { return profile_; }
    plat::Registry& registry() override { return registry_; }
    plat::Spooler& spooler() override { return spooler_; }
    plat::SpoolerInstall& spoolerAdmin() override { return admin_; }
    plat::Services& services() override { return services_; }
    plat::FilesInstall& files() override { return files_; }
    plat::SystemInfo& systemInfo() override { return system_; }

    std::string WriteFile(std::string_view name, std::string_view content) override {
        const std::string path = folder_ + win32::Utf8ToAnsi(name);
        // Profile files are 8-bit text in the ANSI code page.
        WriteBytes(path, win32::Utf8ToAnsi(content));
        return win32::AnsiToUtf8(path);
    }
    std::string ReadFile(std::string_view path) override {
        std::string bytes;
        if (FILE* file = std::fopen(win32::Utf8ToAnsi(path).c_str(), "rb")) {
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
            std::fclose(file);
        }
        return win32::AnsiToUtf8(bytes);
    }
    std::string MissingFile() override { return win32::AnsiToUtf8(folder_ + "nao-existe.ini"); }
    std::string ScratchPath(std::string_view name) override { return win32::AnsiToUtf8(folder_) + std::string(name); }
    void HoldFile(std::string_view path) override {
        held_[std::string(path)] = win32::ScopedKernelHandle(
            CreateFileA(win32::Utf8ToAnsi(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            win32::KernelCloser{});
    }
    void ReleaseFile(std::string_view path) override { held_.erase(std::string(path)); }
    void MakeReadOnly(std::string_view path) override {
        SetFileAttributesA(win32::Utf8ToAnsi(path).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    bool IsReadOnly(std::string_view path) override {
        const DWORD attributes = GetFileAttributesA(win32::Utf8ToAnsi(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    }

    plat::DriverInfo3 LayDownTestDriver(std::string_view name) override {
        std::string directory;
        (void)admin_.GetPrinterDriverDirectory(&directory);
        const std::string folder = win32::Utf8ToAnsi(directory) + "\\";
        // Wine's spooler loads the configuration module when the driver and
        // its printers are added: the build's stand-in for Unidrv's is one it
        // can load. The other files are only copied.
        char module[MAX_PATH] = {};
        GetEnvironmentVariableA("PP_UNIDRVUI", module, MAX_PATH);
        CopyFileA(module, (folder + "PPCTUI.DLL").c_str(), FALSE);
        WriteBytes(folder + "PPCTDRV.DLL", "driver");
        WriteBytes(folder + "PPCTDATA.GPD", "*GPDFileName: \"PPCTDATA.GPD\"\r\n");
        WriteBytes(folder + "PPCTHELP.HLP", "help");
        WriteBytes(folder + "PPCTDEP.INI", "[dependente]\r\n");
        driverFolder_ = folder;
        plat::DriverInfo3 driver;
        driver.cVersion = 3;
        driver.name = std::string(name);
        driver.driverPath = "PPCTDRV.DLL";
        driver.dataFile = "PPCTDATA.GPD";
        driver.configFile = "PPCTUI.DLL";
        driver.helpFile = "PPCTHELP.HLP";
        driver.dependentFiles = {"PPCTDATA.GPD", "PPCTDEP.INI"};
        driverFiles_ = {"PPCTDRV.DLL", "PPCTDATA.GPD", "PPCTUI.DLL", "PPCTHELP.HLP", "PPCTDEP.INI"};
        return driver;
    }
    void RemovePrinter(std::string_view name) override {
        std::string ansi = win32::Utf8ToAnsi(name);
        PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        win32::ScopedPrinter printer;
        if (OpenPrinterA(ansi.data(), printer.receive(), &access)) DeletePrinter(printer.get());
    }
    void RemoveForm(std::string_view name) override {
        HANDLE printer = nullptr;
        if (!OpenPrinterW(nullptr, &printer, nullptr)) return;
        std::wstring wide = win32::Utf8ToWide(name);
        DeleteFormW(printer, wide.data());
        ClosePrinter(printer);
    }
    void RemoveDriver(std::string_view name) override {
        std::string ansi = win32::Utf8ToAnsi(name);
        DeletePrinterDriverA(nullptr, nullptr, ansi.data());
        // The files laid down, and the copies the spooler made of them in its
        // version folder.
        for (const char* file : driverFiles_) {
            DeleteFileA((driverFolder_ + file).c_str());
            DeleteFileA((driverFolder_ + "3\\" + file).c_str());
        }
    }
    void Pause(unsigned milliseconds) override { Sleep(milliseconds); }
    bool IsWine() override { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

private:
    std::string folder_;  // in the ANSI code page
    win32::Win32Profile profile_;
    win32::Win32Registry registry_;
    win32::Win32Spooler spooler_;
    win32::Win32SpoolerInstall admin_;
    win32::Win32Services services_;
    win32::Win32FilesInstall files_;
    win32::Win32SystemInfo system_;
    std::map<std::string, win32::ScopedKernelHandle> held_;
    std::string driverFolder_;
    std::vector<const char*> driverFiles_;
};
}  // namespace

ContractEnv& Env() {
    static Win32ContractEnv env;
    return env;
}

}  // namespace contract
