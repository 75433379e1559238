#include "win32/dialog_binding.h"

#include <commctrl.h>

#include <map>
#include <vector>

#include "win32/encoding.h"
#include "win32/no_throw.h"

namespace win32 {

namespace {
// A static text in its own colours and font.
struct LabelPaint {
    COLORREF textColor = 0;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
};

// What a dialog's window keeps besides its class: the GDI objects of its
// labels and its tooltip, released with the window.
struct Binding {
    Binding(plat::DialogHandler* h, BindingOptions o) : handler(h), options(o) {}
    ~Binding() {
        for (auto& [id, paint] : labels) {
            if (paint.brush) DeleteObject(paint.brush);
            if (paint.font) DeleteObject(paint.font);
        }
    }
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    plat::DialogHandler* handler;
    BindingOptions options;
    std::map<int, LabelPaint> labels;
    HWND tooltip = nullptr;
};

Binding* BindingOf(HWND dialog) {
    return reinterpret_cast<Binding*>(GetWindowLongPtrA(dialog, DWLP_USER));
}
}  // namespace

void Win32Controls::Close(int result) {
    EndDialog(dialog_, result);
}

void Win32Controls::SetCheck(int id, bool checked) {
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32Controls::IsChecked(int id) {
    return IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}

void Win32Controls::Enable(int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog_, id), enabled ? TRUE : FALSE);
}

void Win32Controls::Show(int id, bool visible) {
    ShowWindow(GetDlgItem(dialog_, id), visible ? SW_SHOW : SW_HIDE);
}

void Win32Controls::SetText(int id, std::string_view text) {
    SetDlgItemTextA(dialog_, id, Utf8ToAnsi(text).c_str());
}

void Win32Controls::Focus(int id) {
    PostMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, id)), TRUE);
}

int Win32Controls::AddItem(int id, std::string_view text) {
    return static_cast<int>(Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToAnsi(text).c_str())));
}

void Win32Controls::ClearItems(int id) {
    Send(id, CB_RESETCONTENT);
}

void Win32Controls::SetTooltip(int id, std::string_view text) {
    Binding* binding = BindingOf(dialog_);
    if (!binding) return;
    if (!binding->tooltip) {
        binding->tooltip =
            CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!binding->tooltip) return;
        SendMessageA(binding->tooltip, TTM_ACTIVATE, TRUE, 0);
        SendMessageA(binding->tooltip, TTM_SETMAXTIPWIDTH, 0, 200);
    }
    // The tooltip subclasses the control, so the mouse messages reach it
    // before the control handles them.
    std::string ansi = Utf8ToAnsi(text);
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every common-controls version
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog_, id));
    tool.lpszText = ansi.data();
    SendMessageA(binding->tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Controls::SetLabelStyle(int id, const plat::LabelStyle& style) {
    Binding* binding = BindingOf(dialog_);
    if (!binding) return;
    LabelPaint& paint = binding->labels[id];
    if (paint.brush) DeleteObject(paint.brush);
    if (paint.font) DeleteObject(paint.font);
    paint.textColor = style.textColor;
    paint.brush = CreateSolidBrush(style.backColor);
    paint.font = CreateFontA(style.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Utf8ToAnsi(style.face).c_str());
    if (paint.font) Send(id, WM_SETFONT, reinterpret_cast<WPARAM>(paint.font), TRUE);
}

int Win32Controls::ItemCount(int id) {
    const LRESULT count = Send(id, CB_GETCOUNT);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string Win32Controls::ItemText(int id, int index) {
    const LRESULT length = Send(id, CB_GETLBTEXTLEN, index);
    if (length == CB_ERR) return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    Send(id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return AnsiToUtf8(text.data());
}

int Win32Controls::Selection(int id) {
    const LRESULT index = Send(id, CB_GETCURSEL);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32Controls::Select(int id, int index) {
    Send(id, CB_SETCURSEL, static_cast<WPARAM>(index));
}

int Win32Controls::FindPrefix(int id, int startAfter, std::string_view prefix) {
    const LRESULT index =
        Send(id, CB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(Utf8ToAnsi(prefix).c_str()));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32Controls::SetRange(int id, int low, int high) {
    Send(id, PBM_SETRANGE32, low, high);
}

void Win32Controls::SetPosition(int id, int position) {
    Send(id, PBM_SETPOS, static_cast<WPARAM>(position));
    // The progress loop holds the thread without pumping messages; paint now.
    UpdateWindow(GetDlgItem(dialog_, id));
}

void Win32Controls::StartTimer(int timerId, unsigned milliseconds) {
    SetTimer(dialog_, static_cast<UINT_PTR>(timerId), milliseconds, nullptr);
}

void Win32Controls::StopTimer(int timerId) {
    KillTimer(dialog_, static_cast<UINT_PTR>(timerId));
}

namespace {

INT_PTR Dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, Binding& binding) {
    Win32Controls controls(dialog);
    plat::DialogHandler& handler = *binding.handler;
    switch (message) {
        case WM_INITDIALOG:
            handler.OnInit(controls);
            return TRUE;
        case WM_COMMAND:
            handler.OnCommand(controls, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            handler.OnTimer(controls, static_cast<int>(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            if (!handler.OnSysCommand(controls, static_cast<int>(wParam & 0xFFF0))) return FALSE;
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            const auto label = binding.labels.find(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
            if (label == binding.labels.end() || !label->second.brush) return FALSE;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, label->second.textColor);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(label->second.brush);
        }
        case WM_HELP:
            // Pages pass F1 on to the wizard, which owns the help.
            if (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) return FALSE;
            handler.OnHelp(controls);
            return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK BoundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    Binding* binding = BindingOf(dialog);
    if (!binding) return FALSE;
    INT_PTR result = FALSE;
    try {
        if (binding->options.hook &&
            binding->options.hook(dialog, message, wParam, lParam, &result, binding->options.context)) {
            return result;
        }
        result = Dispatch(dialog, message, wParam, lParam, *binding);
    } catch (...) {
        // The handler stopped part way; the user hears of it and the dialog
        // stays open, as the message was never handled.
        ReportInternalError(dialog);
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        delete binding;
    }
    return result;
}
}  // namespace

HWND CreateBoundDialog(HINSTANCE instance, int templateId, HWND parent, plat::DialogHandler& handler,
                       const BindingOptions& options) {
    auto* binding = new Binding{&handler, options};
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, BoundDialogProc,
                                     reinterpret_cast<LPARAM>(binding));
    if (!dialog) delete binding;
    return dialog;
}

INT_PTR RunBoundDialog(HINSTANCE instance, int templateId, HWND parent, plat::DialogHandler& handler,
                       const BindingOptions& options) {
    // Freed by the dialog itself when its window goes (WM_NCDESTROY).
    auto* binding = new Binding{&handler, options};
    const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, BoundDialogProc,
                                           reinterpret_cast<LPARAM>(binding));
    if (result == -1) delete binding;  // the dialog never existed
    return result;
}

}  // namespace win32
