#include "win32/page_binding.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "core/control_font_table.h"
#include "resource.h"
#include "win32/command_edit_filter.h"
#include "win32/encoding.h"
#include "win32/manifest_context.h"
#include "win32/no_throw.h"
#include "win32/plugin_module.h"
#include "win32/property_sheets.h"

namespace plugin_win32 {

namespace {
bool HasClass(HWND control, const wchar_t* className) {
    wchar_t name[64] = {};
    if (!control || GetClassNameW(control, name, 64) == 0) return false;
    // Version-6 controls may carry the assembly's version before a '!'.
    const wchar_t* bare = wcsrchr(name, L'!');
    return lstrcmpiW(bare ? bare + 1 : name, className) == 0;
}

bool IsUpDown(HWND control) {
    return HasClass(control, UPDOWN_CLASSW);
}

bool IsSlider(HWND control) {
    return HasClass(control, TRACKBAR_CLASSW);
}

// The text of one column of a list view's item. A list view tells no
// length: the buffer grows until the text leaves room to spare.
std::string ListViewText(HWND dialog, int id, int index, int column) {
    if (index < 0 || index >= SendDlgItemMessageW(dialog, id, LVM_GETITEMCOUNT, 0, 0)) return {};
    for (std::size_t size = 256;; size *= 2) {
        std::wstring text(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(size);
        const LRESULT length = SendDlgItemMessageW(dialog, id, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                                                   reinterpret_cast<LPARAM>(&item));
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) + 1 < size || size >= 65536) {
            text.resize(wcsnlen(text.c_str(), size));
            return win32::WideToUtf8(text);
        }
    }
}

// Printer commands are typed in hexadecimal: a dialog's command box takes
// only what its filter lets through. Only edits: the same ids are buttons
// in other dialogs.
void FilterCommandEdit(HWND dialog, int id) {
    HWND edit = GetDlgItem(dialog, id);
    if (HasClass(edit, WC_EDITW)) InstallCommandEditFilter(edit);
}

// The control-font table's list: its columns and whole-row selection, set
// up before its class fills the rows.
void SetUpControlFontList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_CFONT_LIST);
    if (HasClass(list, WC_LISTVIEWW)) SetUpReportList(list, plugin::kControlFontColumns);
}

// Where a page reports its result on apply: the driver's sheet, read from
// the page's context when the page applies (the printer sheet learns its
// page handle only after every page was added).
struct SheetLink {
    const HANDLE* sheet = nullptr;
    const HANDLE* page = nullptr;
    const PFNCOMPROPSHEET* function = nullptr;

    template <typename Context>
    static SheetLink Of(const Context& context) {
        return {&context.hComPropSheet, &context.hPage, &context.pfnComPropSheet};
    }
    void ReportOk() const {
        if (function && *function) {
            (*function)(*sheet, CPSFUNC_SET_RESULT, reinterpret_cast<LPARAM>(*page), CPSUI_OK);
        }
    }
};

// What a page's or dialog's window keeps: its class and its controls, for
// the window's whole life.
struct PageBinding {
    PageBinding(HWND window, std::unique_ptr<plat::DialogHandler> owned, plat::DialogHandler* used, SheetLink link)
        : controls(window), handler(std::move(owned)), active(used ? used : handler.get()), sheet(link) {}
    PageControls controls;
    std::unique_ptr<plat::DialogHandler> handler;  // a page's own class
    plat::DialogHandler* active;                   // the class the messages go to
    SheetLink sheet;                               // pages only
};

PageBinding* BindingOf(HWND window) {
    return reinterpret_cast<PageBinding*>(GetWindowLongPtrW(window, DWLP_USER));
}

// The sheet's notifications, answered as the page's class decides; apply
// also reports the page's result to the driver's sheet.
INT_PTR Notify(HWND window, const NMHDR& header, PageBinding& binding) {
    bool answer = true;
    switch (header.code) {
        case PSN_SETACTIVE:
            answer = binding.active->OnSetActive(binding.controls);
            break;
        case PSN_KILLACTIVE:
            answer = binding.active->OnKillActive(binding.controls);
            break;
        case PSN_APPLY:
            // A page that could not store what it shows says so itself and
            // keeps the sheet open; the driver hears nothing of it.
            answer = binding.active->OnApply(binding.controls);
            if (answer) binding.sheet.ReportOk();
            break;
        case NM_DBLCLK:
            binding.active->OnCommand(binding.controls, static_cast<int>(header.idFrom), plat::kListDoubleClick);
            return TRUE;
        default:
            return FALSE;
    }
    // The page agrees (PSNRET_NOERROR) unless its class said otherwise.
    SetWindowLongPtrW(window, DWLP_MSGRESULT, answer ? PSNRET_NOERROR : PSNRET_INVALID);
    return TRUE;
}

INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, PageBinding& binding) {
    switch (message) {
        case WM_INITDIALOG:
            binding.active->OnInit(binding.controls);
            return TRUE;
        case WM_COMMAND:
            binding.active->OnCommand(binding.controls, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            return Notify(window, *reinterpret_cast<const NMHDR*>(lParam), binding);
        case WM_HSCROLL:
        case WM_VSCROLL: {
            // Sliders and up-downs report their moves here, not as commands.
            HWND control = reinterpret_cast<HWND>(lParam);
            if (!IsSlider(control) && !IsUpDown(control)) return FALSE;
            binding.active->OnCommand(binding.controls, GetDlgCtrlID(control), plat::kSliderScroll);
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR Run(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PageBinding* binding = BindingOf(window);
    if (!binding) return FALSE;
    if (auto* hook = dynamic_cast<PageWindowHook*>(binding->active); hook && message != WM_NCDESTROY) {
        INT_PTR hooked = FALSE;
        if (hook->OnWindowMessage(window, message, wParam, lParam, &hooked)) return hooked;
    }
    const INT_PTR result = Dispatch(window, message, wParam, lParam, *binding);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        delete binding;
    }
    return result;
}

// The modal dialogs of the pages: their class is the caller's.
INT_PTR CALLBACK PageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return win32::CallNoThrow<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            auto* handler = reinterpret_cast<plat::DialogHandler*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER,
                              reinterpret_cast<LONG_PTR>(new PageBinding(dialog, nullptr, handler, SheetLink{})));
            FilterCommandEdit(dialog, IDC_OP_COMMAND);
            FilterCommandEdit(dialog, IDC_CFT_COMMAND);
            SetUpControlFontList(dialog);
        }
        return Run(dialog, message, wParam, lParam);
    });
}
}  // namespace

void SetUpReportList(HWND list, std::span<const plugin::ListColumn> columns) {
    // A page initialised again finds its columns in place.
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (!header || SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) <= 0) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            std::wstring title = win32::Utf8ToWide(columns[i].header);
            LVCOLUMNW column{};
            column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.fmt = LVCFMT_LEFT;
            column.cx = columns[i].width;
            column.pszText = title.data();
            column.iSubItem = static_cast<int>(i);
            SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void PageControls::SetText(int id, std::string_view text) {
    SetDlgItemTextW(dialog(), id, win32::Utf8ToWide(text).c_str());
}

std::string PageControls::GetText(int id) {
    HWND control = GetDlgItem(dialog(), id);
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return win32::WideToUtf8(text);
}

void PageControls::SetCaption(std::string_view text) {
    SetWindowTextW(dialog(), win32::Utf8ToWide(text).c_str());
}

int PageControls::AddItem(int id, std::string_view text) {
    std::wstring wide = win32::Utf8ToWide(text);
    if (KindOf(id) == ListKind::kListView) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendDlgItemMessageW(dialog(), id, LVM_GETITEMCOUNT, 0, 0));  // at the end
        item.pszText = wide.data();
        return static_cast<int>(SendDlgItemMessageW(dialog(), id, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    return static_cast<int>(SendDlgItemMessageW(dialog(), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

void PageControls::SetItemText(int id, int index, int column, std::string_view text) {
    if (KindOf(id) != ListKind::kListView || index < 0 || column < 0) return;
    std::wstring wide = win32::Utf8ToWide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendDlgItemMessageW(dialog(), id, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

std::string PageControls::ItemText(int id, int index) {
    if (KindOf(id) == ListKind::kListView) return ListViewText(dialog(), id, index, 0);
    const LRESULT length = SendDlgItemMessageW(dialog(), id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendDlgItemMessageW(dialog(), id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return win32::WideToUtf8(text);
}

int PageControls::FindPrefix(int id, int startAfter, std::string_view prefix) {
    const std::wstring wide = win32::Utf8ToWide(prefix);
    const LRESULT index = SendDlgItemMessageW(dialog(), id, CB_FINDSTRING, static_cast<WPARAM>(startAfter),
                                              reinterpret_cast<LPARAM>(wide.c_str()));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void PageControls::LimitText(int id, int characters) {
    if (!HasClass(GetDlgItem(dialog(), id), WC_COMBOBOXW)) return Win32Controls::LimitText(id, characters);
    SendDlgItemMessageW(dialog(), id, CB_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

void PageControls::SetRange(int id, int low, int high) {
    HWND control = GetDlgItem(dialog(), id);
    if (IsSlider(control)) {
        SendMessageW(control, TBM_SETRANGEMIN, FALSE, low);
        SendMessageW(control, TBM_SETRANGEMAX, TRUE, high);
        return;
    }
    if (!IsUpDown(control)) return Win32Controls::SetRange(id, low, high);
    SendMessageW(control, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void PageControls::SetPosition(int id, int position) {
    HWND control = GetDlgItem(dialog(), id);
    if (IsSlider(control)) {
        SendMessageW(control, TBM_SETPOS, TRUE, position);
        return;
    }
    if (!IsUpDown(control)) return Win32Controls::SetPosition(id, position);
    SendMessageW(control, UDM_SETPOS32, 0, static_cast<LPARAM>(position));
}

int PageControls::Position(int id) {
    HWND control = GetDlgItem(dialog(), id);
    if (IsSlider(control)) return static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
    if (IsUpDown(control)) return static_cast<int>(SendMessageW(control, UDM_GETPOS32, 0, 0));
    return Win32Controls::Position(id);
}

int PageControls::ShowMessage(std::string_view text, std::string_view caption, unsigned style) {
    return MessageBoxW(dialog(), win32::Utf8ToWide(text).c_str(), win32::Utf8ToWide(caption).c_str(), style);
}

int PageControls::RunDialog(int templateId, plat::DialogHandler& handler) {
    const win32::ActivatedContext activation(ActivationContext());
    return static_cast<int>(DialogBoxParamW(ModuleHandle(), MAKEINTRESOURCEW(templateId), dialog(), PageDialogProc,
                                            reinterpret_cast<LPARAM>(&handler)));
}

namespace {
// The page procedure of both sheets: at WM_INITDIALOG the page's class is
// made from its template and context by `make`.
template <typename Context>
INT_PTR PageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam,
                    std::unique_ptr<plat::DialogHandler> (*make)(int, Context&)) {
    return win32::CallNoThrow<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
            auto* context = reinterpret_cast<Context*>(sheetPage->lParam);
            const int templateId = static_cast<int>(reinterpret_cast<ULONG_PTR>(sheetPage->pszTemplate));
            auto handler = context ? make(templateId, *context) : nullptr;
            if (!handler) return FALSE;
            SetWindowLongPtrW(page, DWLP_USER,
                              reinterpret_cast<LONG_PTR>(
                                  new PageBinding(page, std::move(handler), nullptr, SheetLink::Of(*context))));
        }
        return Run(page, message, wParam, lParam);
    });
}
}  // namespace

INT_PTR CALLBACK DocumentPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return PageMessage<DocumentPageContext>(page, message, wParam, lParam, MakeDocumentPage);
}

INT_PTR CALLBACK DevicePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return PageMessage<DevicePageContext>(page, message, wParam, lParam, MakeDevicePage);
}

}  // namespace plugin_win32
