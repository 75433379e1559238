// wait_for_window.exe CAPTION TIMEOUT_MS [BMP_PATH]
//
// Waits until a visible top-level window captioned CAPTION exists, whichever
// process owns it, and saves a picture of it to BMP_PATH when one is named.
// Exit status 0 when the window appeared (and its picture was saved), 1 with a
// message otherwise, 2 on a wrong command line. The demo runs it beside
// Setup.exe to know that the wizard really opened.
#include <cstdio>
#include <cwchar>
#include <string>

#include "automation/automation.h"

namespace {

HWND FindVisibleWindow(const wchar_t* caption) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, caption)) != nullptr) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

BOOL CALLBACK PrintCaption(HWND window, LPARAM) {
    const std::wstring caption = automation::Text(window);
    if (IsWindowVisible(window) && !caption.empty()) {
        std::fprintf(stderr, "  \"%s\"\n", automation::Narrow(caption).c_str());
    }
    return TRUE;
}

// Lets the owner of `window` finish its start-up and paint before the picture.
void LetItPaint(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
        WaitForInputIdle(process, 5000);
        CloseHandle(process);
    }
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(500);  // the window paints in its own process
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t* end = nullptr;
    const unsigned long timeoutMs = argc >= 3 ? std::wcstoul(argv[2], &end, 10) : 0;
    if (argc < 3 || argc > 4 || *argv[1] == L'\0' || end == argv[2] || *end != L'\0') {
        std::fprintf(stderr, "usage: wait_for_window CAPTION TIMEOUT_MS [BMP_PATH]\n");
        return 2;
    }
    const std::string caption = automation::Narrow(argv[1]);

    HWND window = nullptr;
    automation::WaitUntil([&] { return (window = FindVisibleWindow(argv[1])) != nullptr; },
                          static_cast<DWORD>(timeoutMs));
    if (!window) {
        std::fprintf(stderr, "wait_for_window: no window \"%s\" appeared within %lu ms; the visible windows were:\n",
                     caption.c_str(), timeoutMs);
        EnumWindows(PrintCaption, 0);
        return 1;
    }
    if (argc == 4) {
        const std::string bmpPath = automation::Narrow(argv[3]);
        LetItPaint(window);
        if (!automation::SaveScreenshot(window, bmpPath)) {
            std::fprintf(stderr, "wait_for_window: \"%s\" appeared, but its picture could not be saved to %s\n",
                         caption.c_str(), bmpPath.c_str());
            return 1;
        }
    }
    std::printf("wait_for_window: \"%s\" is showing\n", caption.c_str());
    return 0;
}
