#include "win32/command_edit_filter.h"

#include "core/command_text.h"
#include "win32/no_throw.h"

namespace plugin_win32 {

namespace {
// Each box keeps its own previous procedure, so boxes of different classes
// (or subclassed by others first) are filtered alike.
constexpr const wchar_t* kPreviousProc = L"PrinterCommandEdit.Previous";

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

// The box's key decision; Pass when deciding fails, so the box behaves as an
// unfiltered one rather than losing the key.
plugin::CommandKeyAction DecideKey(WPARAM key) {
    return win32::CallNoThrow(plugin::CommandKeyAction::Pass, [&] {
        const plugin::CommandKeyState keys{KeyDown(VK_TAB), KeyDown(VK_SHIFT), KeyDown(VK_CONTROL)};
        return plugin::FilterCommandKey(static_cast<char16_t>(key), keys);
    });
}

LRESULT CALLBACK CommandEditFilter(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(edit, kPreviousProc));
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_CHAR:
            switch (DecideKey(wParam)) {
                case plugin::CommandKeyAction::Pass:
                    break;
                case plugin::CommandKeyAction::Swallow:
                    return 0;
                case plugin::CommandKeyAction::NextControl:
                    PostMessageW(GetParent(edit), WM_NEXTDLGCTL, 0, 0);
                    return 0;
                case plugin::CommandKeyAction::PreviousControl:
                    PostMessageW(GetParent(edit), WM_NEXTDLGCTL, 1, 0);
                    return 0;
            }
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            RemovePropW(edit, kPreviousProc);
            break;
    }
    return previous ? CallWindowProcW(previous, edit, message, wParam, lParam)
                    : DefWindowProcW(edit, message, wParam, lParam);
}
}  // namespace

void InstallCommandEditFilter(HWND edit) {
    if (!edit || GetPropW(edit, kPreviousProc)) return;
    const LONG_PTR previous = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    SetPropW(edit, kPreviousProc, reinterpret_cast<HANDLE>(previous));
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommandEditFilter));
}

}  // namespace plugin_win32
