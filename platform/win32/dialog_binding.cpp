#include "win32/dialog_binding.h"

#include <commctrl.h>

#include <cstring>
#include <optional>
#include <vector>

#include "win32/by_id.h"
#include "win32/encoding.h"
#include "win32/no_throw.h"
#include "win32/scoped_win32.h"

namespace win32 {

namespace {
// A static text in its own colours and font.
struct LabelPaint {
    COLORREF textColor = 0;
    ScopedGdiObject brush;
    ScopedGdiObject font;
};

// What a dialog's window keeps besides its class: the controls its class is
// handed, the GDI objects of its labels and its tooltip, released with the
// window.
struct Binding {
    Binding(plat::DialogHandler* h, BindingOptions o) : handler(h), options(o) {}
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    plat::DialogHandler* handler;
    BindingOptions options;
    // One for the window's whole life, not one per message: a class may keep
    // the reference it was handed, as the uninstaller's worker thread does
    // after "&Desinstalar" has returned.
    std::optional<Win32Controls> controls;
    ById<LabelPaint> labels;
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

std::string Win32Controls::GetText(int id) {
    HWND control = GetDlgItem(dialog_, id);
    const int length = GetWindowTextLengthA(control);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), length + 1)));
    return AnsiToUtf8(text);
}

void Win32Controls::LimitText(int id, int characters) {
    Send(id, EM_LIMITTEXT, static_cast<WPARAM>(characters));
}

void Win32Controls::SetReadOnly(int id, bool readOnly) {
    Send(id, EM_SETREADONLY, readOnly ? TRUE : FALSE);
}

void Win32Controls::SetCaption(std::string_view text) {
    SetWindowTextA(dialog_, Utf8ToAnsi(text).c_str());
}

int Win32Controls::ShowMessage(std::string_view text, std::string_view caption, unsigned style) {
    return MessageBoxA(dialog_, Utf8ToAnsi(text).c_str(), Utf8ToAnsi(caption).c_str(), style);
}

int Win32Controls::RunDialog(int templateId, plat::DialogHandler& handler) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog_, GWLP_HINSTANCE));
    return static_cast<int>(RunBoundDialog(instance, templateId, dialog_, handler));
}

void Win32Controls::NotifySheetChanged(bool changed) {
    SendMessageA(GetParent(dialog_), changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(dialog_), 0);
}

void Win32Controls::Focus(int id) {
    PostMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, id)), TRUE);
}

// The list operations read the control's window class on every call rather
// than remembering it: nothing here belongs to the thread that made the
// dialog, so the removal worker can call them from its own thread. Text
// crosses in the ANSI code page, as the A messages of the other controls.
Win32Controls::ListKind Win32Controls::KindOf(int id) {
    char name[64] = {};
    if (GetClassNameA(GetDlgItem(dialog_, id), name, static_cast<int>(sizeof name)) == 0) return ListKind::kOther;
    // With version-6 controls the registered name may carry the assembly's
    // version before a '!'.
    const char* bare = std::strrchr(name, '!');
    bare = bare ? bare + 1 : name;
    if (lstrcmpiA(bare, WC_COMBOBOXA) == 0) return ListKind::kComboBox;
    if (lstrcmpiA(bare, WC_LISTBOXA) == 0) return ListKind::kListBox;
    if (lstrcmpiA(bare, WC_LISTVIEWA) == 0) return ListKind::kListView;
    return ListKind::kOther;
}

int Win32Controls::AddItem(int id, std::string_view text) {
    std::string ansi = Utf8ToAnsi(text);
    switch (KindOf(id)) {
        case ListKind::kComboBox:
            return static_cast<int>(Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi.c_str())));
        case ListKind::kListBox:
            return static_cast<int>(Send(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi.c_str())));
        case ListKind::kListView: {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(Send(id, LVM_GETITEMCOUNT));  // at the end
            item.pszText = ansi.data();
            return static_cast<int>(Send(id, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        }
        case ListKind::kOther:
            break;
    }
    return -1;
}

void Win32Controls::ClearItems(int id) {
    switch (KindOf(id)) {
        case ListKind::kComboBox:
            Send(id, CB_RESETCONTENT);
            break;
        case ListKind::kListBox:
            Send(id, LB_RESETCONTENT);
            break;
        case ListKind::kListView:
            Send(id, LVM_DELETEALLITEMS);
            break;
        case ListKind::kOther:
            break;
    }
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
    paint.textColor = style.textColor;
    paint.brush.reset(CreateSolidBrush(style.backColor));
    // The label takes the new font before the old one goes; without a new
    // one it keeps the font it has.
    ScopedGdiObject font(CreateFontA(style.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                     Utf8ToAnsi(style.face).c_str()),
                         GdiObjectDeleter{});
    if (font) {
        Send(id, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        paint.font = std::move(font);
    }
}

int Win32Controls::ItemCount(int id) {
    LRESULT count = 0;
    switch (KindOf(id)) {
        case ListKind::kComboBox:
            count = Send(id, CB_GETCOUNT);
            break;
        case ListKind::kListBox:
            count = Send(id, LB_GETCOUNT);
            break;
        case ListKind::kListView:
            count = Send(id, LVM_GETITEMCOUNT);
            break;
        case ListKind::kOther:
            break;
    }
    return count < 0 ? 0 : static_cast<int>(count);
}

std::string Win32Controls::ItemText(int id, int index) {
    const ListKind kind = KindOf(id);
    switch (kind) {
        case ListKind::kComboBox:
        case ListKind::kListBox: {
            const bool combo = kind == ListKind::kComboBox;
            const LRESULT length = Send(id, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index));
            if (length < 0) return {};
            std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
            const LRESULT copied = Send(id, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
            if (copied < 0) return {};
            return AnsiToUtf8(text.data());
        }
        case ListKind::kListView: {
            if (index < 0 || index >= Send(id, LVM_GETITEMCOUNT)) return {};
            // A list view tells no length: the buffer grows until the text
            // leaves room to spare.
            for (std::size_t size = 256;; size *= 2) {
                std::vector<char> text(size, '\0');
                LVITEMA item{};
                item.iSubItem = 0;
                item.pszText = text.data();
                item.cchTextMax = static_cast<int>(size);
                const LRESULT length =
                    Send(id, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
                if (length < 0) return {};
                if (static_cast<std::size_t>(length) + 1 < size || size >= 65536) {
                    return AnsiToUtf8(std::string_view(text.data(), strnlen(text.data(), size)));
                }
            }
        }
        case ListKind::kOther:
            break;
    }
    return {};
}

int Win32Controls::Selection(int id) {
    LRESULT index = -1;
    switch (KindOf(id)) {
        case ListKind::kComboBox:
            index = Send(id, CB_GETCURSEL);
            break;
        case ListKind::kListBox:
            index = Send(id, LB_GETCURSEL);
            break;
        case ListKind::kListView:
            index = Send(id, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0));
            break;
        case ListKind::kOther:
            break;
    }
    return index < 0 ? -1 : static_cast<int>(index);
}

namespace {
// LVM_SETITEMSTATE of the bits in `mask`; index -1 reaches every item.
void SetListViewState(HWND list, int index, UINT state, UINT mask) {
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}
}  // namespace

void Win32Controls::Select(int id, int index) {
    switch (KindOf(id)) {
        case ListKind::kComboBox:
            Send(id, CB_SETCURSEL, static_cast<WPARAM>(index));
            break;
        case ListKind::kListBox:
            // Also scrolls the item into view: the log's last line stays visible.
            Send(id, LB_SETCURSEL, static_cast<WPARAM>(index));
            break;
        case ListKind::kListView: {
            // One selected item, or none for -1, as the other lists.
            HWND list = GetDlgItem(dialog_, id);
            SetListViewState(list, -1, 0, LVIS_SELECTED);
            if (index < 0) break;
            SetListViewState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            Send(id, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
            break;
        }
        case ListKind::kOther:
            break;
    }
}

int Win32Controls::FindPrefix(int id, int startAfter, std::string_view prefix) {
    // Other lists would read CB_FINDSTRING as some other message of theirs.
    if (KindOf(id) != ListKind::kComboBox) return -1;
    const LRESULT index =
        Send(id, CB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(Utf8ToAnsi(prefix).c_str()));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

// A list view's check boxes are its state images: image 1 unchecked, 2 checked.
void Win32Controls::CheckItem(int id, int index, bool checked) {
    if (KindOf(id) != ListKind::kListView || index < 0) return;
    SetListViewState(GetDlgItem(dialog_, id), index, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}

bool Win32Controls::IsItemChecked(int id, int index) {
    if (KindOf(id) != ListKind::kListView || index < 0) return false;
    const LRESULT state = Send(id, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
    return (static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void Win32Controls::SetItemText(int id, int index, int column, std::string_view text) {
    if (KindOf(id) != ListKind::kListView || index < 0 || column < 0) return;
    std::string ansi = Utf8ToAnsi(text);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = ansi.data();
    Send(id, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void Win32Controls::DeleteItem(int id, int index) {
    if (index < 0) return;
    switch (KindOf(id)) {
        case ListKind::kComboBox:
            Send(id, CB_DELETESTRING, static_cast<WPARAM>(index));
            break;
        case ListKind::kListBox:
            Send(id, LB_DELETESTRING, static_cast<WPARAM>(index));
            break;
        case ListKind::kListView:
            Send(id, LVM_DELETEITEM, static_cast<WPARAM>(index));
            break;
        case ListKind::kOther:
            break;
    }
}

void Win32Controls::SetRange(int id, int low, int high) {
    Send(id, PBM_SETRANGE32, low, high);
}

void Win32Controls::SetPosition(int id, int position) {
    Send(id, PBM_SETPOS, static_cast<WPARAM>(position));
    // The progress loop holds the thread without pumping messages; paint now.
    UpdateWindow(GetDlgItem(dialog_, id));
}

int Win32Controls::Position(int id) {
    return static_cast<int>(Send(id, PBM_GETPOS));
}

void Win32Controls::StartTimer(int timerId, unsigned milliseconds) {
    SetTimer(dialog_, static_cast<UINT_PTR>(timerId), milliseconds, nullptr);
}

void Win32Controls::StopTimer(int timerId) {
    KillTimer(dialog_, static_cast<UINT_PTR>(timerId));
}

namespace {

INT_PTR Dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, Binding& binding) {
    if (!binding.controls) binding.controls.emplace(dialog);
    Win32Controls& controls = *binding.controls;
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
            const LabelPaint* label = binding.labels.Find(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
            if (!label || !label->brush) return FALSE;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, label->textColor);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(label->brush.get());
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
