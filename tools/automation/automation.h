#pragma once
// Driving a program's dialogs from another process, as a person would: start
// it, wait for its window, read control states by id, click, take pictures.
// Cross-process text always travels through the W messages.
#include <windows.h>

#include <string>
#include <vector>

namespace automation {

class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts `exe` with `workingDir` as its current folder (empty: the
    // caller's) and `arguments` after the program name.
    bool Start(const std::wstring& exe, const std::wstring& workingDir, const std::wstring& arguments = L"");
    // Waits for the end; on time-out the process is killed and false returned.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    DWORD id() const { return info_.dwProcessId; }
    bool running() const;

private:
    PROCESS_INFORMATION info_{};
};

// The visible top-level dialog of process `pid` with `caption`, waiting up to
// timeoutMs for it; nullptr when none appears.
HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs);
// The visible top-level dialog of process `pid` that holds control
// `controlId`, whatever its caption; nullptr when none appears.
HWND WaitForDialogWith(DWORD pid, int controlId, DWORD timeoutMs);
// The child dialog (a page) of `parent` that holds control `controlId`.
HWND FindChildDialogWith(HWND parent, int controlId);

// The visible message box of process `pid` (a dialog with the static text
// control 0xFFFF), waiting up to timeoutMs; nullptr when none appears.
HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs);
// Polls `done` every 50 ms until it holds or timeoutMs passes.
template <typename Condition>
bool WaitUntil(Condition done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// Clicks a button as a person would; posted, so a modal box it opens does not
// block the caller.
void Click(HWND dialog, int id);
// Types `key` (pressed and let go) into the dialog `window` as a person
// would: the dialog comes to the front and the key passes through the
// system's input queue, so the program also sees the key's state. A Tab
// follows it; the program has taken the key once the focus has moved or the
// window has gone, and PressKey returns then, or false after five seconds
// (and without typing anything when the dialog does not come to the front).
bool PressKey(HWND window, WORD key);
// Puts the keyboard focus of `dialog` on its control `id`, as Tab would.
void FocusControl(HWND dialog, int id);
// The control of `window`'s thread that has the keyboard focus.
HWND FocusedControl(HWND window);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
std::wstring Text(HWND window);
// The selected entry of a drop-down list, or empty.
std::wstring SelectedItem(HWND dialog, int id);
// Selects the entry `text` of a drop-down list and tells the dialog, as a
// person's choice would; false when the list has no such entry.
bool SelectItem(HWND dialog, int id, const std::wstring& text);
// The lines of a list box, top to bottom (LB_GETTEXT travels between
// processes like the other list-box messages).
std::vector<std::wstring> ListBoxLines(HWND dialog, int id);

// List views of another process. Their messages carry pointers that the
// system does not carry across processes, so the item and its text buffer
// are made in the list view's own process. An empty result or false when
// that process cannot be reached.
std::vector<std::wstring> ListViewItems(HWND list);
// Ticks or clears the check box of item `index`, as a click on it would.
bool CheckListViewItem(HWND list, int index, bool checked);
bool IsListViewItemChecked(HWND list, int index);

// The colour the screen shows at a point of a window's client area.
COLORREF ScreenColor(HWND window, POINT clientPoint);

// The tab captions of a property sheet of the caller's own process, as UTF-8
// (tab items hold pointers, which do not cross processes).
std::vector<std::string> TabCaptions(HWND sheet);

// Saves what the screen shows of `window` as an uncompressed 24-bit BMP.
bool SaveScreenshot(HWND window, const std::string& bmpPath);

// Sets the Windows version Wine reports to programs named `exeName`
// (HKCU\Software\Wine\AppDefaults\<exe>\Version, e.g. "win7", "win98").
bool SetWineAppVersion(const std::wstring& exeName, const std::wstring& version);
// Removes every per-application setting of `exeName` (AppDefaults\<exe>).
void ClearWineAppDefaults(const std::wstring& exeName);

// The packaged folder the Wine tests run Setup and Desinstalar from
// (PP_STAGE_DIR, made absolute); empty when the variable is unset.
std::wstring StagedPackage();

// The full path of `relative` resolved against the current folder.
std::wstring FullPath(const std::wstring& relative);
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
// An environment variable, empty when unset.
std::string EnvVar(const char* name);
// Saves a screenshot of `window` as NAME.bmp in the folder PP_ARTIFACTS names
// (nothing when it names none), after letting the window paint.
bool SaveArtifactScreenshot(HWND window, const std::string& name);

}  // namespace automation
