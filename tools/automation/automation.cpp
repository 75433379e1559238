#include "automation/automation.h"

#include <commctrl.h>

#include <algorithm>
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

bool PressKey(HWND window, WORD key) {
    HWND top = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(top);
    // Typed keys go to the window in front: never to another one.
    if (!WaitUntil([&] { return GetForegroundWindow() == top; }, 5000)) return false;
    // A Tab typed after the key tells when the key has been taken: the
    // program reads typed keys in their order, and the Tab moves the focus.
    const HWND focusBefore = FocusedControl(window);
    INPUT input[4] = {};
    for (int i = 0; i < 4; ++i) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = i < 2 ? key : VK_TAB;
        input[i].ki.dwFlags = (i % 2) ? KEYEVENTF_KEYUP : 0;
    }
    if (SendInput(4, input, sizeof(INPUT)) != 4) return false;
    return WaitUntil([&] { return !IsWindow(window) || FocusedControl(window) != focusBefore; }, 5000);
}

void FocusControl(HWND dialog, int id) {
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
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

namespace {
// Wine's settings for one program, under the current user.
std::wstring WineAppDefaultsKey(const std::wstring& exeName) {
    return L"Software\\Wine\\AppDefaults\\" + exeName;
}
}  // namespace

void ClearWineAppDefaults(const std::wstring& exeName) {
    RegDeleteTreeW(HKEY_CURRENT_USER, WineAppDefaultsKey(exeName).c_str());
}

std::wstring StagedPackage() {
    const std::string stage = EnvVar("PP_STAGE_DIR");
    return stage.empty() ? std::wstring() : FullPath(Widen(stage));
}

bool SetWineAppVersion(const std::wstring& exeName, const std::wstring& version) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WineAppDefaultsKey(exeName).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
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

std::vector<std::wstring> ListBoxLines(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length == LB_ERR) break;
        std::wstring line(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        line.resize(static_cast<std::size_t>(length));
        lines.push_back(line);
    }
    return lines;
}

namespace {
// A block of memory in the process that owns `window`, released with the
// object. The caller's and the owner's structures have the same layout: both
// are programs of this build.
class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool valid() const { return address_ != nullptr; }
    // The remote address `offset` bytes into the block.
    template <typename T>
    T* At(std::size_t offset) const {
        return reinterpret_cast<T*>(static_cast<char*>(address_) + offset);
    }
    bool Write(std::size_t offset, const void* data, std::size_t size) {
        SIZE_T done = 0;
        return offset + size <= size_ && WriteProcessMemory(process_, At<char>(offset), data, size, &done) &&
               done == size;
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const {
        SIZE_T done = 0;
        return offset + size <= size_ && ReadProcessMemory(process_, At<char>(offset), data, size, &done) &&
               done == size;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};
}  // namespace

std::vector<std::wstring> ListViewItems(HWND list) {
    constexpr int kTextCapacity = 260;
    RemoteMemory remote(list, sizeof(LVITEMW) + kTextCapacity * sizeof(wchar_t));
    std::vector<std::wstring> items;
    if (!remote.valid()) return items;
    const LRESULT count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = remote.At<wchar_t>(sizeof item);
        item.cchTextMax = kTextCapacity;
        const wchar_t empty = L'\0';
        if (!remote.Write(0, &item, sizeof item) || !remote.Write(sizeof item, &empty, sizeof empty)) return {};
        const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote.At<char>(0)));
        std::wstring text(static_cast<std::size_t>(std::min<LRESULT>(length, kTextCapacity - 1)), L'\0');
        if (!remote.Read(sizeof item, text.data(), text.size() * sizeof(wchar_t))) return {};
        items.push_back(text);
    }
    return items;
}

bool CheckListViewItem(HWND list, int index, bool checked) {
    RemoteMemory remote(list, sizeof(LVITEMW));
    if (!remote.valid()) return false;
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    if (!remote.Write(0, &item, sizeof item)) return false;
    return SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(remote.At<char>(0))) != FALSE;
}

bool IsListViewItemChecked(HWND list, int index) {
    // The state comes back as the result: no pointer involved.
    const LRESULT state = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
    return (static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
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
