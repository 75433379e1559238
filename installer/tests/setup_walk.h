#pragma once
// The real Setup.exe walked through under Wine as a person would, and what
// the spooler holds of the package: shared by the Wine tests of the
// installation and of the uninstaller, which installs its printers first.
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
#include "automation/system_folders.h"
#include "../resources/resource.h"

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
// The drivers of the two models the tests install, plain and raster.
inline const wchar_t* const kDriverNames[] = {L"KTR-P410 Receipt", L"KTR-P410 Receipt Raster", L"KTR-Q350 Ticket",
                                              L"KTR-Q350 Ticket Raster"};

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
// processor, version value or file of it. Wine's DeletePrintProcessor
// leaves the processor registered, so its key goes directly.
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
    HKEY ports = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_SET_VALUE, &ports) == ERROR_SUCCESS) {
        RegDeleteValueW(ports, L"COM1:");
        RegCloseKey(ports);
    }
    for (const wchar_t* file : kSystemFiles) {
        DeleteFileW((automation::SystemDirectory() + L"\\" + file).c_str());
        DeleteFileW((automation::SystemDirectory() + L"\\n" + file).c_str());
    }
    DeleteFileW((automation::ProcessorDirectory() + L"\\KTRPROC.DLL").c_str());
    DeleteFileW((automation::ProcessorDirectory() + L"\\KTRPROC.log").c_str());
    for (const wchar_t* file : {L"UNIDRVUI.DLL", L"7404VXUI.DLL", L"KTRP410G.GPD", L"KTRQ350T.GPD", L"UNIDRV.DLL",
                                L"KTRREND.INI", L"7404VXCONTROL.INI"}) {
        DeleteFileW((automation::DriverDirectory() + L"\\" + file).c_str());
        DeleteFileW((automation::DriverDirectory() + L"\\3\\" + file).c_str());
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
    bool progressSeen = false;
    // The bar's position read while the window showed, and whether its
    // filled part was on screen then.
    int barPositionSeen = -1;
    bool barPainted = false;
    std::wstring message;
    DWORD milliseconds = 0;
    std::wstring serialSettings;  // as the port page showed them, for a serial port
    DWORD exitCode = 1;
    bool exited = false;
};

struct Choice {
    int moduleButton;
    int modelList;
    const wchar_t* model;
    const wchar_t* port;  // the first of these the port page lists
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

inline HWND WaitForVisiblePage(HWND wizard, int marker) {
    HWND page = nullptr;
    automation::WaitUntil(
        [&] { return (page = automation::FindChildDialogWith(wizard, marker)) && IsWindowVisible(page); }, 10000);
    return page && IsWindowVisible(page) ? page : nullptr;
}

// Starts the staged Setup.exe of `folder`, walks the wizard with `choice` and
// presses Install; records what came of it and answers the final message.
// Fails the test where a window does not appear.
inline void Install(const std::wstring& folder, const Choice& choice, InstallRun* run) {
    automation::Process setup;
    ASSERT_TRUE(setup.Start(folder + L"\\Setup.exe", folder)) << "error " << GetLastError();
    HWND wizard = automation::WaitForDialog(setup.id(), kCaption, 20000);
    ASSERT_NE(wizard, nullptr) << "the wizard did not appear";

    HWND module = WaitForVisiblePage(wizard, IDC_MODULE_GROUP);
    ASSERT_NE(module, nullptr);
    if (!automation::IsChecked(module, choice.moduleButton)) automation::Click(module, choice.moduleButton);
    ASSERT_TRUE(automation::WaitUntil([&] { return automation::IsEnabled(module, choice.modelList); }, 5000));
    ASSERT_TRUE(automation::SelectItem(module, choice.modelList, choice.model))
        << automation::Narrow(choice.model) << " is not in the list";
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
    automation::Click(wizard, IDOK);
    HWND port = WaitForVisiblePage(wizard, IDC_PORTS);
    ASSERT_NE(port, nullptr);
    const bool listed = automation::SelectItem(port, IDC_PORTS, choice.port) ||
                        (choice.otherPort && automation::SelectItem(port, IDC_PORTS, choice.otherPort));
    ASSERT_TRUE(listed) << "the port page lists neither " << automation::Narrow(choice.port) << " nor "
                        << automation::Narrow(choice.otherPort ? choice.otherPort : L"another");
    if (automation::IsEnabled(port, IDC_BAUD)) run->serialSettings = SerialSettingsShown(port);
    ASSERT_EQ(automation::Text(GetDlgItem(wizard, IDOK)), L"Instalar(&I)");

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
    std::printf("[ install  ] %s: %s on %s, %lu ms from Install to the final message, progress window %s: \"%s\"\n",
                choice.artefact, automation::Narrow(choice.model).c_str(), automation::Narrow(choice.port).c_str(),
                run->milliseconds, run->progressSeen ? "seen" : "not seen", automation::Narrow(run->message).c_str());
    automation::Click(message, IDOK);
    run->exited = setup.WaitForExit(15000, &run->exitCode);
}

}  // namespace setup_walk
