#pragma once
// The controls of one dialog, addressed by their resource ids.
#include <cstdint>
#include <string>
#include <string_view>

#include "ports/desktop.h"

namespace plat {

// Colours as the platform's COLORREF: 0x00BBGGRR.
constexpr std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}

struct LabelStyle {
    std::uint32_t textColor = 0;
    std::uint32_t backColor = 0;
    std::string face;
    int height = 0;  // pixels
    bool operator==(const LabelStyle&) const = default;
};

class Controls {
public:
    virtual ~Controls() = default;
    // The dialog itself, as owner of the message boxes it shows.
    [[nodiscard]] virtual WindowRef Window() = 0;
    // Ends a modal dialog with `result`.
    virtual void Close(int result) = 0;

    virtual void SetCheck(int id, bool checked) = 0;
    [[nodiscard]] virtual bool IsChecked(int id) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual void Show(int id, bool visible) = 0;
    virtual void SetText(int id, std::string_view text) = 0;
    // The text of an edit or static control.
    [[nodiscard]] virtual std::string GetText(int id) = 0;
    // EM_LIMITTEXT: an edit takes at most `characters` characters.
    virtual void LimitText(int id, int characters) = 0;
    // EM_SETREADONLY: the edit shows its text but takes no typing.
    virtual void SetReadOnly(int id, bool readOnly) = 0;
    // The dialog's own caption.
    virtual void SetCaption(std::string_view text) = 0;
    virtual void Focus(int id) = 0;

    // Lists: drop-down lists, list boxes and list views alike. A list whose
    // template asks for sorting keeps its items sorted without regard to
    // case; AddItem returns where the item went (at the end of a list view).
    virtual int AddItem(int id, std::string_view text) = 0;
    // CB_RESETCONTENT: no items, no selection.
    virtual void ClearItems(int id) = 0;
    [[nodiscard]] virtual int ItemCount(int id) = 0;
    [[nodiscard]] virtual std::string ItemText(int id, int index) = 0;
    // The selected index, or -1.
    [[nodiscard]] virtual int Selection(int id) = 0;
    virtual void Select(int id, int index) = 0;
    // CB_FINDSTRING: the first item after `startAfter` (wrapping round to the
    // start) that begins with `prefix` without regard to case, or -1.
    [[nodiscard]] virtual int FindPrefix(int id, int startAfter, std::string_view prefix) = 0;
    // List views with check boxes: an item's check box, and an item removed
    // (the items after it move up by one).
    virtual void CheckItem(int id, int index, bool checked) = 0;
    [[nodiscard]] virtual bool IsItemChecked(int id, int index) = 0;
    virtual void DeleteItem(int id, int index) = 0;
    // List views in report style: the text of one column of an item; column
    // 0 is the item's own text. An index outside the list changes nothing.
    virtual void SetItemText(int id, int index, int column, std::string_view text) = 0;

    // A tooltip text shown when the mouse rests on the control.
    virtual void SetTooltip(int id, std::string_view text) = 0;
    // A static text painted in its own colours and font, its text on a
    // transparent background over its background colour.
    virtual void SetLabelStyle(int id, const LabelStyle& style) = 0;

    // Progress bars, up-down controls and sliders.
    virtual void SetRange(int id, int low, int high) = 0;
    virtual void SetPosition(int id, int position) = 0;
    [[nodiscard]] virtual int Position(int id) = 0;

    // A message box owned by the dialog; the button pressed.
    virtual int ShowMessage(std::string_view text, std::string_view caption, unsigned style) = 0;
    // Runs dialog `templateId` of the dialog's own module modally, owned by
    // the dialog; the result its handler closed it with.
    virtual int RunDialog(int templateId, DialogHandler& handler) = 0;
    // A property-sheet page tells its sheet that it holds changes to apply
    // (PSM_CHANGED), or none any more (PSM_UNCHANGED).
    virtual void NotifySheetChanged(bool changed) = 0;

    // A one-shot or repeating timer of the dialog, delivered to OnTimer.
    virtual void StartTimer(int timerId, unsigned milliseconds) = 0;
    virtual void StopTimer(int timerId) = 0;
};

// What a dialog class offers the generic dialog binding of each platform.
class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    virtual void OnInit(Controls& controls) = 0;
    virtual void OnCommand(Controls&, int /*id*/, int /*notifyCode*/) {}
    virtual void OnTimer(Controls&, int /*timerId*/) {}
    // A system-menu command; true when the dialog handled it.
    [[nodiscard]] virtual bool OnSysCommand(Controls&, int /*command*/) { return false; }
    // F1 anywhere in the dialog or its pages.
    virtual void OnHelp(Controls&) {}
    // Property-sheet pages: PSN_SETACTIVE, PSN_KILLACTIVE and PSN_APPLY; the
    // page's answer to the sheet.
    [[nodiscard]] virtual bool OnSetActive(Controls&) { return true; }
    [[nodiscard]] virtual bool OnKillActive(Controls&) { return true; }
    [[nodiscard]] virtual bool OnApply(Controls&) { return true; }
};

// Notification codes the dialog classes look at.
constexpr int kBnClicked = 0;
constexpr int kCbnSelChange = 1;
// An editable drop-down's text typed (CBN_EDITCHANGE) and a selection
// confirmed (CBN_SELENDOK).
constexpr int kCbnEditChange = 5;
constexpr int kCbnSelEndOk = 9;
constexpr int kEnChange = 0x300;
constexpr int kEnKillFocus = 0x200;
// A slider moved, while scrolling and when released (WM_HSCROLL and
// WM_VSCROLL of a trackbar), handed on as a command of the slider.
constexpr int kSliderScroll = -4;
// A double-click on a list view (NM_DBLCLK), handed on as a command of the list.
constexpr int kListDoubleClick = -3;

}  // namespace plat
