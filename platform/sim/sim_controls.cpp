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
    for (auto& [column, texts] : list.columns) {
        texts.resize(list.items.size() - 1);
        texts.insert(texts.begin() + index, std::string());
    }
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
    for (auto& [column, texts] : list.columns) {
        if (index < static_cast<int>(texts.size())) texts.erase(texts.begin() + index);
    }
    if (list.selection == index) {
        list.selection = -1;
    } else if (list.selection > index) {
        --list.selection;
    }
}

void SimControls::SetItemText(int id, int index, int column, std::string_view text) {
    State& list = controls[id];
    if (index < 0 || index >= static_cast<int>(list.items.size()) || column < 0) return;
    if (column == 0) {
        list.items[index] = text;
        return;
    }
    std::vector<std::string>& texts = list.columns[column];
    texts.resize(list.items.size());
    texts[index] = text;
}

std::string SimControls::ItemText(int id, int index, int column) {
    if (column == 0) return ItemText(id, index);
    const State& list = controls[id];
    const auto texts = list.columns.find(column);
    if (texts == list.columns.end() || index < 0 || index >= static_cast<int>(texts->second.size())) return {};
    return texts->second[index];
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

int SimControls::Position(int id) {
    const State& bar = controls[id];
    return bar.positions.empty() ? bar.low : bar.positions.back();
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
    // The limit counts characters (UTF-16 units), not the UTF-8 bytes the
    // pages work in: cut after the last whole character that fits.
    std::size_t end = 0;
    int units = 0;
    while (end < text.size()) {
        const auto lead = static_cast<unsigned char>(text[end]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const int width = length == 4 ? 2 : 1;
        if (state.textLimit > 0 && units + width > state.textLimit) break;
        units += width;
        end = std::min(text.size(), end + length);
    }
    state.text = std::string(text.substr(0, end));
}

}  // namespace sim
