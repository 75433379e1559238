#pragma once
// The real Setup.exe walked through under Wine as a person would, what the
// spooler holds of the package, and the package's folder copied where shops
// keep it: shared by the Wine tests of the installation and of the
// uninstaller, which installs its printers first.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "automation/fit_tally.h"
#include "automation/system_folders.h"
#include "installer/resources/resource.h"

namespace setup_walk {

constexpr const wchar_t* kCaption = L"Setup do Driver da Impressora";
constexpr const wchar_t* kInstalled = L"Driver de impressora instalado com sucesso";
constexpr const wchar_t* kMonitorsKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
// The programs look in the spooler environment of their own build (see
// plat::kEnvironmentNt).
#if defined(_WIN64)
constexpr const wchar_t* kProcessorsKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors\\";
#else
constexpr const wchar_t* kProcessorsKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\";
#endif
constexpr const wchar_t* kPortsKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

// The package's monitors and the files Setup puts in the system directory.
inline const wchar_t* const kMonitorNames[] = {L"KTR Serial Port", L"KTR USB Port", L"KTR USB Language Monitor"};
inline const wchar_t* const kSystemFiles[] = {L"KTRCOMMN.DLL", L"KTRCOMUI.DLL", L"KTRUSBMN.DLL", L"KTRUSBUI.DLL",
                                              L"KTRLMON.DLL"};
// The drivers of the models the tests install, plain and raster.
inline const wchar_t* const kDriverNames[] = {L"KTR-P410 Receipt",   L"KTR-P410 Receipt Raster",
                                              L"KTR-Q350 Ticket",    L"KTR-Q350 Ticket Raster",
                                              L"KTR-P410II Receipt", L"KTR-P410II Receipt Raster"};
// The files of those drivers in the spooler's driver directory and its
// version-3 folder.
inline const wchar_t* const kDriverFiles[] = {
    L"UNIDRV.DLL",   L"UNIDRVUI.DLL",  L"UNIDRV.HLP",    L"UNIRES.DLL",     L"STDNAMES.GPD",     L"TTFSUB.GPD",
    L"KTRRES.DLL",   L"KTRREND.DLL",   L"KTRREND.INI",   L"7404VXUI.DLL",   L"KTRP410.GPD",      L"KTRP410G.GPD",
    L"KTRQ350T.GPD", L"KTRQ350TG.GPD", L"KTRP410II.GPD", L"KTRP410IIG.GPD", L"7404VXCONTROL.INI"};

struct PrinterSeen {
    std::wstring name, port, driver, processor;
    DWORD attributes = 0;
};

inline std::vector<PrinterSeen> Printers() {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + sizeof(PRINTER_INFO_2W));
    std::vector<PrinterSeen> printers;
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), static_cast<DWORD>(buffer.size()), &needed,
                       &count))
        return printers;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        auto text = [](const wchar_t* value) { return std::wstring(value ? value : L""); };
        printers.push_back({text(info[i].pPrinterName), text(info[i].pPortName), text(info[i].pDriverName),
                            text(info[i].pPrintProcessor), info[i].Attributes});
    }
    return printers;
}

inline const PrinterSeen* FindPrinter(const std::vector<PrinterSeen>& printers, const std::wstring& name) {
    for (const auto& printer : printers)
        if (printer.name == name) return &printer;
    return nullptr;
}

inline std::wstring FileName(const std::wstring& path) {
    return path.substr(path.find_last_of(L'\\') + 1);
}

// The driver as GetPrinterDriver level 3 gives it, file names only.
struct DriverSeen {
    DWORD version = 0;
    std::wstring name, driverPath, dataFile, configFile, helpFile;
    std::vector<std::wstring> dependentFiles;
    std::wstring folder;
};

inline bool ReadDriver(const std::wstring& printerName, DriverSeen* seen) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(printerName.c_str()), &printer, nullptr)) return false;
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed + sizeof(DRIVER_INFO_3W));
    const bool ok = GetPrinterDriverW(printer, nullptr, 3, buffer.data(), static_cast<DWORD>(buffer.size()), &needed);
    ClosePrinter(printer);
    if (!ok) return false;
    const auto* driver = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    auto name = [](const wchar_t* path) { return path ? FileName(path) : std::wstring(L"(none)"); };
    seen->version = driver->cVersion;
    seen->name = driver->pName;
    seen->driverPath = name(driver->pDriverPath);
    seen->dataFile = name(driver->pDataFile);
    seen->configFile = name(driver->pConfigFile);
    seen->helpFile = name(driver->pHelpFile);
    const std::wstring config = driver->pConfigFile ? driver->pConfigFile : L"";
    seen->folder = config.substr(0, config.find_last_of(L'\\'));
    for (const wchar_t* file = driver->pDependentFiles; file && *file; file += lstrlenW(file) + 1)
        seen->dependentFiles.push_back(FileName(file));
    return true;
}

// The whole content of a file, empty when it cannot be read. W functions:
// the package may lie in a folder whose name the C library cannot open.
inline std::string ReadAll(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string content;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) content.append(chunk, read);
    CloseHandle(file);
    return content;
}

// Replaces the content of a file, making it when missing.
inline bool WriteAll(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    CloseHandle(file);
    return ok;
}

// The package's stand-in USB library in `folder` reports one printer, in
// slot 0, with `deviceValue`.
inline bool AttachUsbPrinter(const std::wstring& folder, int deviceValue) {
    return WriteAll(folder + L"\\MdUsbInt.ini", "[Devices]\r\n0=" + std::to_string(deviceValue) + "\r\n");
}

// No USB bulk driver on the machine: the port page asks for it and Install
// runs the driver tool.
inline void RemoveBulkUsbDriver() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    DeleteFileW((std::wstring(windows) + L"\\system32\\drivers\\bulkusb.sys").c_str());
}

// Calls `visit(path, isFolder)` for each entry of `folder` until it answers
// false; false when the folder cannot be read or `visit` stopped.
template <typename Visit>
bool ForEachEntry(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool going = true;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        going = visit(folder + L"\\" + name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (going && FindNextFileW(search, &entry));
    const DWORD error = GetLastError();
    FindClose(search);
    SetLastError(error);
    return going;
}

// Every file under `folder`, depth first, as full paths.
inline std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    ForEachEntry(folder, [&](const std::wstring& path, bool isFolder) {
        if (!isFolder) {
            files.push_back(path);
        } else {
            for (auto& inner : FilesUnder(path)) files.push_back(std::move(inner));
        }
        return true;
    });
    return files;
}

// Copies `from` with everything under it to `to` (made, with its parents,
// when missing), as a shop copies the package; false at the first failure,
// its error left for GetLastError.
inline bool CopyFolder(const std::wstring& from, const std::wstring& to) {
    for (std::size_t slash = to.find(L'\\', 3); slash != std::wstring::npos; slash = to.find(L'\\', slash + 1))
        CreateDirectoryW(to.substr(0, slash).c_str(), nullptr);
    if (!CreateDirectoryW(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    return ForEachEntry(from, [&](const std::wstring& path, bool isFolder) {
        const std::wstring target = to + path.substr(from.size());
        return isFolder ? CopyFolder(path, target) : CopyFileW(path.c_str(), target.c_str(), FALSE) != FALSE;
    });
}

// Marks every file under `folder` read-only, as files copied from a CD are,
// or clears the mark; false when a file keeps its old state.
inline bool SetReadOnly(const std::wstring& folder, bool readOnly) {
    bool ok = true;
    for (const auto& file : FilesUnder(folder))
        ok = SetFileAttributesW(file.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) && ok;
    return ok;
}

// Deletes a file, read-only or not.
inline void DeleteAnyFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// Deletes `folder` with everything under it, read-only files too.
inline void DeleteFolder(const std::wstring& folder) {
    ForEachEntry(folder, [](const std::wstring& path, bool isFolder) {
        if (isFolder) {
            DeleteFolder(path);
        } else {
            DeleteAnyFile(path);
        }
        return true;
    });
    RemoveDirectoryW(folder.c_str());
}

template <typename Info>
std::vector<std::wstring> Names(BOOL(WINAPI* enumerate)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD),
                                DWORD level) {
    DWORD needed = 0, count = 0;
    enumerate(nullptr, nullptr, level, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + sizeof(Info));
    std::vector<std::wstring> names;
    if (!enumerate(nullptr, nullptr, level, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count))
        return names;
    for (DWORD i = 0; i < count; ++i) names.push_back(reinterpret_cast<const Info*>(buffer.data())[i].pName);
    return names;
}

inline BOOL WINAPI EnumMonitorsLevel(LPWSTR server, LPWSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                                     LPDWORD count) {
    return EnumMonitorsW(server, level, buffer, size, needed, count);
}

inline bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

inline void RemovePrinter(const std::wstring& name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &access)) return;
    DeletePrinter(printer);
    ClosePrinter(printer);
}

// A machine without the package: no printer or driver of it, no monitor,
// processor, version value, USB port record or file of it (read-only ones
// too: a package copied from a CD may have left such copies). Wine's
// DeletePrintProcessor leaves the processor registered, so its key goes
// directly.
inline void RemoveWhatSetupInstalls() {
    for (const auto& printer : Printers()) {
        if (printer.driver.find(L"KTR-") != std::wstring::npos) RemovePrinter(printer.name);
    }
    for (const wchar_t* driver : kDriverNames) DeletePrinterDriverW(nullptr, nullptr, const_cast<wchar_t*>(driver));
    for (const wchar_t* monitor : kMonitorNames) {
        DeleteMonitorW(nullptr, nullptr, const_cast<wchar_t*>(monitor));
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kMonitorsKey) + monitor).c_str());
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kProcessorsKey) + L"KTRPrint").c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MERIDAN");
    HKEY ports = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_SET_VALUE, &ports) == ERROR_SUCCESS) {
        RegDeleteValueW(ports, L"COM1:");
        RegCloseKey(ports);
    }
    for (const wchar_t* file : kSystemFiles) {
        DeleteAnyFile(automation::SystemDirectory() + L"\\" + file);
        DeleteAnyFile(automation::SystemDirectory() + L"\\n" + file);
    }
    DeleteAnyFile(automation::ProcessorDirectory() + L"\\KTRPROC.DLL");
    DeleteAnyFile(automation::ProcessorDirectory() + L"\\KTRPROC.log");
    for (const wchar_t* file : kDriverFiles) {
        DeleteAnyFile(automation::DriverDirectory() + L"\\" + file);
        DeleteAnyFile(automation::DriverDirectory() + L"\\3\\" + file);
    }
}

// What the port page showed for a serial port, as the settings text of the
// registry ("9600,n,8,1,x").
inline std::wstring SerialSettingsShown(HWND portPage) {
    const std::wstring flow = automation::SelectedItem(portPage, IDC_FLOW);
    const wchar_t flowLetter = flow == L"Xon/Xoff" ? L'x' : flow == L"Hardware" ? L'p' : L' ';
    const std::wstring parity = automation::SelectedItem(portPage, IDC_PARITY);
    return automation::SelectedItem(portPage, IDC_BAUD) + L"," +
           static_cast<wchar_t>(std::towlower(parity.empty() ? L'?' : parity[0])) + L"," +
           automation::SelectedItem(portPage, IDC_DATA_BITS) + L"," +
           automation::SelectedItem(portPage, IDC_STOP_BITS) + L"," + flowLetter;
}

// What one run of Setup showed after Install.
struct InstallRun {
    std::wstring model;  // as the module page had it chosen
    bool progressSeen = false;
    // The bar's position read while the window showed, and whether its
    // filled part was on screen then.
    int barPositionSeen = -1;
    bool barPainted = false;
    std::wstring message;
    DWORD milliseconds = 0;
    std::wstring serialSettings;   // as the port page showed them, for a serial port
    std::wstring portPreselected;  // the port the page had chosen by itself
    // The message boxes that showed before Install, each answered with OK.
    std::vector<std::wstring> messagesBeforeInstall;
    DWORD exitCode = 1;
    bool exited = false;
};

struct Choice {
    int moduleButton;
    int modelList;
    const wchar_t* model;  // null: the model the page offers
    const wchar_t* port;   // the first of these the port page lists
    const wchar_t* otherPort;
    bool makeDefault;
    const char* artefact;
};

inline const Choice kReceiptOnLpt{IDC_MODULE_RECEIPT, IDC_MODELS_RECEIPT, L"KTR-P410", L"LPT1:", nullptr, true, "a"};
inline const Choice kTicketOnSerial{
    IDC_MODULE_TICKET, IDC_MODELS_TICKET, L"KTR-Q350", L"MDCOM1:", L"COM1:", false, "b"};

// The first visible top-level window of `pid` that holds control `id`.
struct FindRequest {
    DWORD pid;
    int id;
    HWND found;
};

inline BOOL CALLBACK FindWindowWith(HWND window, LPARAM parameter) {
    auto* request = reinterpret_cast<FindRequest*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == request->pid && IsWindowVisible(window) && GetDlgItem(window, request->id)) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

inline HWND VisibleWindowWith(DWORD pid, int id) {
    FindRequest request{pid, id, nullptr};
    EnumWindows(FindWindowWith, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

// Answers with OK the message box `pid` shows beside `wizard`, if any, and
// adds its text to `texts`; false when the box stays (it has no OK).
inline bool AnswerMessageBox(DWORD pid, HWND wizard, std::vector<std::wstring>* texts) {
    HWND box = VisibleWindowWith(pid, 0xFFFF);
    if (!box || box == wizard) return true;
    texts->push_back(automation::Text(GetDlgItem(box, 0xFFFF)));
    std::printf("[ install  ] a message before Install: \"%s\"\n", automation::Narrow(texts->back()).c_str());
    automation::Click(box, IDOK);
    return automation::WaitUntil([&] { return !IsWindow(box); }, 5000);
}

inline HWND WaitForVisiblePage(HWND wizard, int marker) {
    HWND page = nullptr;
    automation::WaitUntil(
        [&] { return (page = automation::FindChildDialogWith(wizard, marker)) && IsWindowVisible(page); }, 10000);
    return page && IsWindowVisible(page) ? page : nullptr;
}

// Starts the staged Setup.exe of `folder` and walks the wizard with `choice`
// up to the port page, its port chosen: the next click on the wizard's OK
// button is Install. Fails the test where a window does not appear.
inline void WalkToInstall(const std::wstring& folder, const Choice& choice, automation::Process* process,
                          HWND* wizardFound, InstallRun* run) {
    automation::Process& setup = *process;
    ASSERT_TRUE(setup.Start(folder + L"\\Setup.exe", folder)) << "error " << GetLastError();
    HWND wizard = *wizardFound = automation::WaitForDialog(setup.id(), kCaption, 20000);
    ASSERT_NE(wizard, nullptr) << "the wizard did not appear";

    HWND module = WaitForVisiblePage(wizard, IDC_MODULE_GROUP);
    ASSERT_NE(module, nullptr);
    if (!automation::IsChecked(module, choice.moduleButton)) automation::Click(module, choice.moduleButton);
    ASSERT_TRUE(automation::WaitUntil([&] { return automation::IsEnabled(module, choice.modelList); }, 5000));
    if (choice.model) {
        ASSERT_TRUE(automation::SelectItem(module, choice.modelList, choice.model))
            << automation::Narrow(choice.model) << " is not in the list";
    }
    run->model = automation::SelectedItem(module, choice.modelList);
    if (automation::IsChecked(module, IDC_MAKE_DEFAULT) != choice.makeDefault) {
        automation::Click(module, IDC_MAKE_DEFAULT);
        ASSERT_TRUE(automation::WaitUntil(
            [&] { return automation::IsChecked(module, IDC_MAKE_DEFAULT) == choice.makeDefault; }, 5000));
    }
    automation::Click(wizard, IDOK);
    ASSERT_NE(WaitForVisiblePage(wizard, IDC_INSTALL_TYPE_GROUP), nullptr);
    automation::Click(wizard, IDOK);
    HWND os = WaitForVisiblePage(wizard, IDC_OS_GROUP);
    ASSERT_NE(os, nullptr);
    EXPECT_TRUE(automation::IsChecked(os, IDC_OS_WIN7)) << "Wine reports Windows 7 to Setup";
    // The port page fills its lists once it shows (the attached USB printer
    // read through MdUsbInt.dll among them) and names the button "Instalar"
    // after; a message on the way is answered and recorded.
    automation::Click(wizard, IDOK);
    HWND port = nullptr;
    bool answered = true;
    automation::WaitUntil(
        [&] {
            if (!(answered = AnswerMessageBox(setup.id(), wizard, &run->messagesBeforeInstall))) return true;
            port = automation::FindChildDialogWith(wizard, IDC_PORTS);
            return port && IsWindowVisible(port) && automation::Text(GetDlgItem(wizard, IDOK)) == L"Instalar(&I)";
        },
        20000);
    ASSERT_TRUE(answered) << "a message before Install has no OK: \""
                          << automation::Narrow(run->messagesBeforeInstall.back()) << "\"";
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(IsWindowVisible(port)) << "the port page did not show";
    run->portPreselected = automation::SelectedItem(port, IDC_PORTS);
    const bool listed = automation::SelectItem(port, IDC_PORTS, choice.port) ||
                        (choice.otherPort && automation::SelectItem(port, IDC_PORTS, choice.otherPort));
    ASSERT_TRUE(listed) << "the port page lists neither " << automation::Narrow(choice.port) << " nor "
                        << automation::Narrow(choice.otherPort ? choice.otherPort : L"another");
    if (automation::IsEnabled(port, IDC_BAUD)) run->serialSettings = SerialSettingsShown(port);
    ASSERT_EQ(automation::Text(GetDlgItem(wizard, IDOK)), L"Instalar(&I)");
}

// Starts the staged Setup.exe of `folder`, walks the wizard with `choice` and
// presses Install; records what came of it and answers the final message.
// Fails the test where a window does not appear.
inline void Install(const std::wstring& folder, const Choice& choice, InstallRun* run) {
    automation::Process setup;
    HWND wizard = nullptr;
    WalkToInstall(folder, choice, &setup, &wizard, run);
    if (::testing::Test::HasFatalFailure()) return;

    // Install: the progress window (no caption, its progress bar tells it)
    // while the worker runs, then the final message.
    const DWORD start = GetTickCount();
    automation::Click(wizard, IDOK);
    HWND message = nullptr;
    while (!message && GetTickCount() - start < 60000) {
        if (!run->progressSeen) {
            if (HWND progress = VisibleWindowWith(setup.id(), IDC_PROGRESS_BAR)) {
                run->progressSeen = true;
                // The bar creeps while the worker runs and runs up to 100
                // once it is done (about a second); half-way through the
                // filled part must show on screen.
                Sleep(800);
                HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
                DWORD_PTR position = 0;
                const BOOL visible = IsWindowVisible(progress);
                const LRESULT sent = SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &position);
                if (visible && sent && position >= 10) {
                    RECT area{};
                    GetClientRect(bar, &area);
                    run->barPainted = automation::ScreenColor(bar, {area.right * 5 / 100 + 2, area.bottom / 2}) !=
                                      automation::ScreenColor(bar, {area.right - 3, area.bottom / 2});
                    run->barPositionSeen = static_cast<int>(position);
                }
                const std::string artefacts = automation::EnvVar("PP_ARTIFACTS");
                if (IsWindowVisible(progress)) automation::ExpectScreenFits("Setup", progress, "progress window");
                if (!artefacts.empty() && IsWindowVisible(progress)) {
                    automation::SaveScreenshot(progress, artefacts + "/install-" + choice.artefact + "-progress.bmp");
                }
            }
        }
        HWND box = VisibleWindowWith(setup.id(), 0xFFFF);
        if (box && box != wizard) message = box;
        if (!message) Sleep(10);
    }
    run->milliseconds = GetTickCount() - start;
    ASSERT_NE(message, nullptr) << "no final message within a minute of Install";
    run->message = automation::Text(GetDlgItem(message, 0xFFFF));
    EXPECT_TRUE(automation::SaveArtifactScreenshot(message, std::string("install-") + choice.artefact + "-message"));
    automation::ExpectScreenFits("Setup", message, "final message");
    std::printf("[ install  ] %s: %s on %s, %lu ms from Install to the final message, progress window %s: \"%s\"\n",
                choice.artefact, automation::Narrow(run->model).c_str(), automation::Narrow(choice.port).c_str(),
                run->milliseconds, run->progressSeen ? "seen" : "not seen", automation::Narrow(run->message).c_str());
    automation::Click(message, IDOK);
    run->exited = setup.WaitForExit(15000, &run->exitCode);
}

}  // namespace setup_walk
