// A stand-in for the package's USB driver tool USBDrv\Install.exe, which
// Setup and Desinstalar start (parameters "2" and "22"). It installs nothing:
// it records the parameters it was given as "parameters=<text>" in
// Install.log beside itself, the evidence a test looks for, shows its window
// for a moment as the real tool does, and ends with exit code 0. Install.ini
// beside it may set how long the window stays ([Window] Milliseconds, 1500
// when absent).
#include <windows.h>

#include <string>

#include "install_resource.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kDefaultMilliseconds = 1500;
// Longer than any caller waits; a mistyped value must not leave the window up.
constexpr UINT kMostMilliseconds = 60000;

// The folder of this program, with its trailing backslash; empty on failure.
std::string OwnFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

void RecordParameters(const char* parameters) {
    const std::string line = std::string("parameters=") + parameters + "\r\n";
    const std::string path = OwnFolder() + "Install.log";
    HANDLE log = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
}

UINT WindowMilliseconds() {
    const UINT configured =
        GetPrivateProfileIntA("Window", "Milliseconds", kDefaultMilliseconds, (OwnFolder() + "Install.ini").c_str());
    return configured < kMostMilliseconds ? configured : kMostMilliseconds;
}

INT_PTR CALLBACK InstallDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetTimer(dialog, kCloseTimer, static_cast<UINT>(lParam), nullptr);
            return TRUE;
        case WM_TIMER:
            if (wParam != kCloseTimer) return FALSE;
            KillTimer(dialog, kCloseTimer);
            EndDialog(dialog, 0);
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR parameters, int) {
    RecordParameters(parameters ? parameters : "");
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INSTALL), nullptr, InstallDialog,
                    static_cast<LPARAM>(WindowMilliseconds()));
    return 0;
}
