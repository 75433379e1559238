#pragma once
// The plug-in's pages and the dialogs they open, bound to their classes in
// core: one page procedure for every page with settings, one dialog
// procedure for their modal dialogs. Text crosses as UTF-16 (W functions);
// everything else is the generic binding's.
#include <windows.h>

#include <memory>
#include <span>

#include "core/list_column.h"
#include "ports/controls.h"
#include "win32/dialog_binding.h"

namespace plugin_win32 {

struct DocumentPageContext;
struct DevicePageContext;

// The controls of a page or of one of its dialogs, text in UTF-16.
class PageControls : public win32::Win32Controls {
public:
    explicit PageControls(HWND dialog) : Win32Controls(dialog) {}
    void SetText(int id, std::string_view text) override;
    std::string GetText(int id) override;
    void SetCaption(std::string_view text) override;
    // Combo boxes and list views.
    int AddItem(int id, std::string_view text) override;
    void SetItemText(int id, int index, int column, std::string_view text) override;
    std::string ItemText(int id, int index) override;
    int FindPrefix(int id, int startAfter, std::string_view prefix) override;
    // Combo boxes' edits as well as edits.
    void LimitText(int id, int characters) override;
    // Up-down controls and sliders as well as progress bars.
    void SetRange(int id, int low, int high) override;
    void SetPosition(int id, int position) override;
    int Position(int id) override;
    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
    // DialogBoxParamW of the plug-in's template, owned by this dialog, with
    // the plug-in's activation context active.
    int RunDialog(int templateId, plat::DialogHandler& handler) override;
};

// A report-style list view's columns (inserted once) and whole-row
// selection, set before a page's class fills the rows.
void SetUpReportList(HWND list, std::span<const plugin::ListColumn> columns);

// What a page's window side does itself before its class sees a message:
// drawing its owner-drawn controls, following its controls' notifications.
// A page class that also is a PageWindowHook gets every message of its page
// first; true with *result set stops the message there.
class PageWindowHook {
public:
    virtual ~PageWindowHook() = default;
    virtual bool OnWindowMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) = 0;
};

// Whether the document page of `templateId` has a class of its own; the
// others keep no settings.
bool HasDocumentPageClass(int templateId);
// The class of a document page; none when its sheet gives no device mode.
std::unique_ptr<plat::DialogHandler> MakeDocumentPage(int templateId, DocumentPageContext& context);

// Whether the printer page of `templateId` has a class of its own.
bool HasDevicePageClass(int templateId);
// The class of a printer page; none when the driver gave no printer, but
// for the fonts page, which works on none.
std::unique_ptr<plat::DialogHandler> MakeDevicePage(int templateId, DevicePageContext& context);

// The page procedure of the printer pages with a class, as DocumentPageProc
// is for the document pages.
INT_PTR CALLBACK DevicePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The page procedure of the document pages with settings: the page's class
// is made at WM_INITDIALOG from the template and the page's context, gets
// the page's messages and the sheet's notifications, and goes with the page.
INT_PTR CALLBACK DocumentPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace plugin_win32
