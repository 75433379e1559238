#include "automation/automation.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "win32/encoding.h"

namespace automation {

Process::~Process() {
    if (info_.hProcess) {
        if (running()) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool Process::Start(const std::wstring& exe, const std::wstring& workingDir, const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info_) != FALSE;
}

bool Process::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!info_.hProcess) return false;
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
        return false;
    }
    if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

namespace {
// The first visible top-level dialog of process `pid` captioned `caption`
// (any caption when null) that holds control `controlId` (any when 0).
HWND FindProcessDialog(DWORD pid, const wchar_t* caption, int controlId) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window) && (controlId == 0 || GetDlgItem(window, controlId))) return window;
    }
    return nullptr;
}

HWND WaitForProcessDialog(DWORD pid, const wchar_t* caption, int controlId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessDialog(pid, caption, controlId)) != nullptr; }, timeoutMs);
    return found;
}
}  // namespace

HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs) {
    return WaitForProcessDialog(pid, caption.c_str(), 0, timeoutMs);
}

HWND WaitForDialogWith(DWORD pid, int controlId, DWORD timeoutMs) {
    return WaitForProcessDialog(pid, nullptr, controlId, timeoutMs);
}

HWND FindChildDialogWith(HWND parent, int controlId) {
    HWND child = nullptr;
    while ((child = FindWindowExW(parent, child, L"#32770", nullptr)) != nullptr) {
        if (GetDlgItem(child, controlId)) return child;
    }
    return nullptr;
}

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    return WaitForProcessDialog(pid, nullptr, 0xFFFF, timeoutMs);
}

void Click(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool IsChecked(HWND dialog, int id) {
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::wstring Text(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::vector<std::string> TabCaptions(HWND sheet) {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    std::vector<std::string> captions;
    const LRESULT count = tabs ? SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        captions.push_back(Narrow(text));
    }
    return captions;
}

std::wstring SelectedItem(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

bool SaveScreenshot(HWND window, const std::string& bmpPath) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageSize;
        if (FILE* out = std::fopen(bmpPath.c_str(), "wb")) {
            saved = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                    std::fwrite(bits, 1, imageSize, out) == imageSize;
            saved = std::fclose(out) == 0 && saved;
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

bool SetWineAppVersion(const std::wstring& exeName, const std::wstring& version) {
    const std::wstring keyName = L"Software\\Wine\\AppDefaults\\" + exeName;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LONG result = RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                                       static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::wstring FullPath(const std::wstring& relative) {
    std::vector<wchar_t> buffer(4096);
    const DWORD length = GetFullPathNameW(relative.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    return std::wstring(buffer.data(), length);
}

std::wstring Widen(const std::string& text) {
    return win32::Utf8ToWide(text);
}

std::string Narrow(const std::wstring& text) {
    return win32::WideToUtf8(text);
}

std::string EnvVar(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool SelectItem(HWND dialog, int id, const std::wstring& text) {
    HWND list = GetDlgItem(dialog, id);
    const LRESULT index =
        SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR) return false;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
}

COLORREF ScreenColor(HWND window, POINT clientPoint) {
    ClientToScreen(window, &clientPoint);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, clientPoint.x, clientPoint.y);
    ReleaseDC(nullptr, screen);
    return color;
}

bool SaveArtifactScreenshot(HWND window, const std::string& name) {
    const std::string folder = EnvVar("PP_ARTIFACTS");
    if (folder.empty()) return true;
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(400);  // the window paints in its own process
    return SaveScreenshot(window, folder + "/" + name + ".bmp");
}

}  // namespace automation
