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
#include "standin/standin_files.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kDefaultMilliseconds = 1500;
// Longer than any caller waits; a mistyped value must not leave the window up.
constexpr UINT kMostMilliseconds = 60000;

std::string OwnFolder() {
    return standin::ModuleFolder(nullptr);
}

void RecordParameters(const char* parameters) {
    standin::AppendLine(OwnFolder() + "Install.log", std::string("parameters=") + parameters + "\r\n");
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
