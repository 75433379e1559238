#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ports/controls.h"

namespace sim {

// The controls of one simulated dialog. Controls spring into existence when
// first touched, enabled, visible and unchecked, as a template's defaults
// would have them; tests set the template's other choices (disabled, hidden,
// sorted) before the dialog starts.
class SimControls : public plat::Controls {
public:
    struct State {
        bool checked = false;
        bool enabled = true;
        bool visible = true;
        bool sorted = false;
        std::string text;
        int textLimit = 0;  // EM_LIMITTEXT; 0 none
        bool readOnly = false;
        std::vector<std::string> items;
        std::vector<bool> itemChecks;  // list views: one check box per item
        // List views: the texts of the columns after the first, each column
        // one text per item.
        std::map<int, std::vector<std::string>> columns;
        int selection = -1;
        int low = 0, high = 100;
        std::vector<int> positions;  // every position a progress bar was given
        std::string tooltip;
        plat::LabelStyle labelStyle;
    };

    plat::WindowRef Window() override { return window; }
    void Close(int result) override {
        closed = true;
        closeResult = result;
    }
    void SetCheck(int id, bool checked) override { controls[id].checked = checked; }
    bool IsChecked(int id) override { return controls[id].checked; }
    void Enable(int id, bool enabled) override { controls[id].enabled = enabled; }
    void Show(int id, bool visible) override { controls[id].visible = visible; }
    void SetText(int id, std::string_view text) override { controls[id].text = text; }
    void Focus(int id) override { focus = id; }

    int AddItem(int id, std::string_view text) override;
    void ClearItems(int id) override {
        controls[id].items.clear();
        controls[id].itemChecks.clear();
        controls[id].columns.clear();
        controls[id].selection = -1;
    }
    void SetTooltip(int id, std::string_view text) override { controls[id].tooltip = text; }
    void SetLabelStyle(int id, const plat::LabelStyle& style) override { controls[id].labelStyle = style; }
    int ItemCount(int id) override { return static_cast<int>(controls[id].items.size()); }
    std::string ItemText(int id, int index) override;
    int Selection(int id) override { return controls[id].selection; }
    void Select(int id, int index) override;
    int FindPrefix(int id, int startAfter, std::string_view prefix) override;
    void CheckItem(int id, int index, bool checked) override;
    bool IsItemChecked(int id, int index) override;
    // Removes the item, its check box and, when it was selected, the selection.
    void DeleteItem(int id, int index) override;
    void SetItemText(int id, int index, int column, std::string_view text) override;

    void SetRange(int id, int low, int high) override {
        controls[id].low = low;
        controls[id].high = high;
    }
    void SetPosition(int id, int position) override;
    // The last position given, or the range's low end.
    int Position(int id) override;

    void StartTimer(int timerId, unsigned milliseconds) override { timers[timerId] = milliseconds; }
    void StopTimer(int timerId) override { timers.erase(timerId); }

    // Inspection.
    const State& Get(int id) { return controls[id]; }
    bool IsEnabled(int id) { return controls[id].enabled; }
    bool IsVisible(int id) { return controls[id].visible; }
    std::string Text(int id) { return controls[id].text; }
    std::string SelectedText(int id);
    // The text of one column of a list view's item.
    std::string ItemText(int id, int index, int column);

    std::string GetText(int id) override { return controls[id].text; }
    void LimitText(int id, int characters) override { controls[id].textLimit = characters; }
    void SetReadOnly(int id, bool readOnly) override { controls[id].readOnly = readOnly; }
    void SetCaption(std::string_view text) override { caption = text; }
    // Records the box and answers with the next scripted answer, or its first button.
    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
    // A dialog of its own controls: its handler's OnInit, then `onDialog`
    // (the test's part: it sets controls and sends commands), then its timers.
    int RunDialog(int templateId, plat::DialogHandler& handler) override;
    void NotifySheetChanged(bool changed) override { sheetChanges.push_back(changed); }

    // What the user types into an edit: the text, cut where the edit's limit
    // stops the typing; a read-only edit keeps its text. The test sends the change notification itself.
    void Type(int id, std::string_view text);

    plat::WindowRef window = 0x2001;
    std::string caption;
    struct Box {
        std::string text;
        std::string caption;
        unsigned style;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;
    std::vector<int> dialogsRun;
    std::function<void(int templateId, SimControls& dialog, plat::DialogHandler& handler)> onDialog;
    std::vector<bool> sheetChanges;
    std::map<int, State> controls;
    std::map<int, unsigned> timers;
    int focus = 0;
    bool closed = false;
    int closeResult = 0;
};

}  // namespace sim
