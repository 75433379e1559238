#pragma once
// The one dialog procedure of the programs: it hands a dialog's messages to
// its class (a plat::DialogHandler) and lets it reach the controls by id.
#include <windows.h>

#include "ports/controls.h"

namespace win32 {

// Holds only the dialog's window: every operation is a message to one of its
// controls. A worker thread may therefore drive a dialog of another thread
// through its own Win32Controls; SendMessage hands each call to the dialog's
// thread and waits for it, as long as that thread keeps pumping messages.
class Win32Controls : public plat::Controls {
public:
    explicit Win32Controls(HWND dialog) : dialog_(dialog) {}
    plat::WindowRef Window() override { return reinterpret_cast<plat::WindowRef>(dialog_); }
    void Close(int result) override;
    void SetCheck(int id, bool checked) override;
    bool IsChecked(int id) override;
    void Enable(int id, bool enabled) override;
    void Show(int id, bool visible) override;
    void SetText(int id, std::string_view text) override;
    std::string GetText(int id) override;
    void LimitText(int id, int characters) override;
    void SetReadOnly(int id, bool readOnly) override;
    void SetCaption(std::string_view text) override;
    void Focus(int id) override;
    int AddItem(int id, std::string_view text) override;
    void ClearItems(int id) override;
    void SetTooltip(int id, std::string_view text) override;
    void SetLabelStyle(int id, const plat::LabelStyle& style) override;
    int ItemCount(int id) override;
    std::string ItemText(int id, int index) override;
    int Selection(int id) override;
    void Select(int id, int index) override;
    int FindPrefix(int id, int startAfter, std::string_view prefix) override;
    void CheckItem(int id, int index, bool checked) override;
    bool IsItemChecked(int id, int index) override;
    void DeleteItem(int id, int index) override;
    void SetItemText(int id, int index, int column, std::string_view text) override;
    void SetRange(int id, int low, int high) override;
    void SetPosition(int id, int position) override;
    int Position(int id) override;
    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
    int RunDialog(int templateId, plat::DialogHandler& handler) override;
    void NotifySheetChanged(bool changed) override;
    void StartTimer(int timerId, unsigned milliseconds) override;
    void StopTimer(int timerId) override;

protected:
    // The kinds of list the list operations tell apart by window class.
    enum class ListKind { kComboBox, kListBox, kListView, kOther };
    ListKind KindOf(int id);
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
    }
    HWND dialog() const { return dialog_; }

private:
    HWND dialog_;
};

// What a dialog's window side handles itself (painting, menus, child windows)
// before its class sees a message: return true with *result set to stop there.
using MessageHook = bool (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result, void* context);
struct BindingOptions {
    MessageHook hook = nullptr;
    void* context = nullptr;
};

// A modeless dialog (a wizard page) from template `templateId`, owned by `parent`.
HWND CreateBoundDialog(HINSTANCE instance, int templateId, HWND parent, plat::DialogHandler& handler,
                       const BindingOptions& options = {});
// A modal dialog; returns what the handler passed to Close.
INT_PTR RunBoundDialog(HINSTANCE instance, int templateId, HWND parent, plat::DialogHandler& handler,
                       const BindingOptions& options = {});

}  // namespace win32
