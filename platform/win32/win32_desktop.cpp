#include "win32/win32_desktop.h"

#include <shellapi.h>

#include <vector>

#include "win32/dialog_binding.h"
#include "win32/encoding.h"

namespace win32 {

namespace {
HWND Handle(plat::WindowRef window) {
    return reinterpret_cast<HWND>(window);
}
}  // namespace

int Win32Desktop::ShowMessage(plat::WindowRef owner, std::string_view text, std::string_view caption, unsigned style) {
    return MessageBoxA(Handle(owner), Utf8ToAnsi(text).c_str(), Utf8ToAnsi(caption).c_str(), style);
}

bool Win32Desktop::CreateSingleInstanceMutex(std::string_view name) {
    ScopedKernelHandle mutex(CreateMutexA(nullptr, TRUE, Utf8ToAnsi(name).c_str()), KernelCloser{});
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (!mutex) return false;
    mutexes_.push_back(std::move(mutex));
    return !existed;
}

plat::WindowRef Win32Desktop::FindTopLevelWindow(std::string_view caption) {
    return reinterpret_cast<plat::WindowRef>(FindWindowA(nullptr, Utf8ToAnsi(caption).c_str()));
}

void Win32Desktop::BringToFront(plat::WindowRef window) {
    SetForegroundWindow(Handle(window));
    if (IsIconic(Handle(window))) OpenIcon(Handle(window));
}

void Win32Desktop::MinimizeTopmost(plat::WindowRef window) {
    ShowWindow(Handle(window), SW_MINIMIZE);
    SetWindowPos(Handle(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32Desktop::IsAdministrator() {
    ScopedKernelHandle token;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.receive())) {
        if (GetLastError() != ERROR_NO_TOKEN) return false;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) return false;
    }
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) return false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    ScopedSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, administrators.receive())) {
        return false;
    }
    // The group counts only where it grants rights: a token made for "run
    // with restricted rights" (or a filtered one under UAC) still lists
    // Administrators, marked for deny only and not enabled.
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        const DWORD attributes = groups->Groups[i].Attributes;
        if (EqualSid(groups->Groups[i].Sid, administrators.get())) {
            return (attributes & SE_GROUP_ENABLED) && !(attributes & SE_GROUP_USE_FOR_DENY_ONLY);
        }
    }
    return false;
}

bool Win32Desktop::OpenDocument(std::string_view path) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", Utf8ToAnsi(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

// ShellExecute answers 32 or less on failure and sets the last error; where
// it leaves none, its own answer stands for it (2, 3, 5, 11 or one of the
// SE_ERR values; 0 is the system out of memory).
plat::Error Win32Desktop::StartProgram(std::string_view path, std::string_view parameters) {
    SetLastError(ERROR_SUCCESS);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(GetDesktopWindow(), "open", Utf8ToAnsi(path).c_str(),
                                                                Utf8ToAnsi(parameters).c_str(), "", SW_SHOWNORMAL));
    if (result > 32) return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    if (error != ERROR_SUCCESS) return static_cast<long>(error);
    return result != 0 ? static_cast<long>(result) : ERROR_NOT_ENOUGH_MEMORY;
}

void Win32Desktop::BroadcastSettingChange(std::string_view section, bool post) {
    const std::string text = Utf8ToAnsi(section);
    const auto lParam = section.empty() ? LPARAM{0} : reinterpret_cast<LPARAM>(text.c_str());
    if (post) {
        // Returns at once; the text is copied for each receiving thread.
        SendNotifyMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, lParam);
        return;
    }
    // A hung window costs at most the time-out, not the caller's thread.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, lParam, SMTO_NORMAL, 1000, &ignored);
}

bool Win32Desktop::RestartWindows() {
    // On the NT family the shutdown privilege must be enabled first; Windows
    // 98/Me has no tokens and needs none.
    ScopedKernelHandle token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive())) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
            AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
        }
    }
    return ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
}

int Win32Desktop::RunDialog(int templateId, plat::WindowRef owner, plat::DialogHandler& handler) {
    const BindingOptions* options = options_.Find(templateId);
    return static_cast<int>(
        RunBoundDialog(instance_, templateId, Handle(owner), handler, options ? *options : BindingOptions{}));
}

}  // namespace win32
