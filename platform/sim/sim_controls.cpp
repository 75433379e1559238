#include "sim/sim_controls.h"

#include <algorithm>

#include "text.h"

namespace sim {

int SimControls::AddItem(int id, std::string_view text) {
    State& list = controls[id];
    auto at = list.items.end();
    if (list.sorted) {
        const std::string key = plat::ToLowerAscii(text);
        at = std::find_if(list.items.begin(), list.items.end(),
                          [&](const std::string& item) { return plat::ToLowerAscii(item) > key; });
    }
    const int index = static_cast<int>(at - list.items.begin());
    list.items.insert(at, std::string(text));
    // A test may have filled `items` directly: the check boxes catch up first,
    // unchecked, so that they stay beside their items.
    list.itemChecks.resize(list.items.size() - 1, false);
    list.itemChecks.insert(list.itemChecks.begin() + index, false);
    list.cells.resize(list.items.size() - 1);
    list.cells.insert(list.cells.begin() + index, std::vector<std::string>{std::string(text)});
    if (list.selection >= index) ++list.selection;
    return index;
}

// Index -1 stands for every item, as LVM_SETITEMSTATE takes it; any other
// index outside the list changes nothing.
void SimControls::CheckItem(int id, int index, bool checked) {
    State& list = controls[id];
    const int count = static_cast<int>(list.items.size());
    list.itemChecks.resize(list.items.size(), false);
    if (index == -1) {
        std::fill(list.itemChecks.begin(), list.itemChecks.end(), checked);
    } else if (index >= 0 && index < count) {
        list.itemChecks[index] = checked;
    }
}

bool SimControls::IsItemChecked(int id, int index) {
    const State& list = controls[id];
    return index >= 0 && index < static_cast<int>(list.items.size()) &&
           index < static_cast<int>(list.itemChecks.size()) && list.itemChecks[index];
}

void SimControls::DeleteItem(int id, int index) {
    State& list = controls[id];
    if (index < 0 || index >= static_cast<int>(list.items.size())) return;
    list.items.erase(list.items.begin() + index);
    if (index < static_cast<int>(list.itemChecks.size())) list.itemChecks.erase(list.itemChecks.begin() + index);
    if (index < static_cast<int>(list.cells.size())) list.cells.erase(list.cells.begin() + index);
    if (list.selection == index) {
        list.selection = -1;
    } else if (list.selection > index) {
        --list.selection;
    }
}

void SimControls::SetItemText(int id, int index, int column, std::string_view text) {
    State& list = controls[id];
    if (index < 0 || index >= static_cast<int>(list.items.size()) || column < 0) return;
    list.cells.resize(list.items.size());
    std::vector<std::string>& row = list.cells[static_cast<std::size_t>(index)];
    if (row.size() <= static_cast<std::size_t>(column)) row.resize(static_cast<std::size_t>(column) + 1);
    row[static_cast<std::size_t>(column)] = text;
    if (column == 0) list.items[static_cast<std::size_t>(index)] = text;
}

std::string SimControls::CellText(int id, int index, int column) {
    const State& list = controls[id];
    if (index < 0 || index >= static_cast<int>(list.cells.size()) || column < 0) return {};
    const std::vector<std::string>& row = list.cells[static_cast<std::size_t>(index)];
    return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)] : std::string();
}

std::string SimControls::ItemText(int id, int index) {
    const State& list = controls[id];
    if (index < 0 || index >= static_cast<int>(list.items.size())) return {};
    return list.items[index];
}

void SimControls::Select(int id, int index) {
    State& list = controls[id];
    list.selection = index >= 0 && index < static_cast<int>(list.items.size()) ? index : -1;
}

int SimControls::FindPrefix(int id, int startAfter, std::string_view prefix) {
    const State& list = controls[id];
    const int count = static_cast<int>(list.items.size());
    const std::string key = plat::ToLowerAscii(prefix);
    const int first = startAfter >= -1 && startAfter < count ? startAfter + 1 : 0;
    for (int step = 0; step < count; ++step) {
        const int index = (first + step) % count;
        if (plat::ToLowerAscii(list.items[index]).compare(0, key.size(), key) == 0) return index;
    }
    return -1;
}

void SimControls::SetPosition(int id, int position) {
    State& bar = controls[id];
    bar.positions.push_back(std::clamp(position, bar.low, bar.high));
}

std::string SimControls::SelectedText(int id) {
    return ItemText(id, Selection(id));
}

int SimControls::ShowMessage(std::string_view text, std::string_view boxCaption, unsigned style) {
    boxes.push_back({std::string(text), std::string(boxCaption), style});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (style & 0xF) == plat::kMbYesNo ? plat::kIdYes : plat::kIdOk;
}

int SimControls::RunDialog(int templateId, plat::DialogHandler& handler) {
    dialogsRun.push_back(templateId);
    SimControls dialog;
    dialog.window = window + 0x100;
    handler.OnInit(dialog);
    if (!dialog.closed && onDialog) onDialog(templateId, dialog, handler);
    while (!dialog.closed && !dialog.timers.empty()) handler.OnTimer(dialog, dialog.timers.begin()->first);
    return dialog.closeResult;
}

void SimControls::Type(int id, std::string_view text) {
    State& state = controls[id];
    if (state.readOnly) return;
    state.text = state.textLimit > 0 && text.size() > static_cast<std::size_t>(state.textLimit)
                     ? std::string(text.substr(0, state.textLimit))
                     : std::string(text);
}

}  // namespace sim
