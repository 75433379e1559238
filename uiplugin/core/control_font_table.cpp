#include "core/control_font_table.h"

#include "core/command_text.h"
#include "ports/desktop.h"
#include "resource.h"
#include "text.h"

namespace plugin {
namespace {

constexpr int kHexColumn = 1;
constexpr int kCommandColumn = 2;

// Command text as the parser takes it: one unit per character. The file and
// the controls hand over UTF-8; a character outside ASCII is no digit, so
// any unit of its own will do as long as it stays one unit.
std::u16string CommandUnits(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) == 0x80) continue;  // the tail of a character already counted
        units.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : u'\uFFFD');
    }
    return units;
}

// Formatted commands are digits and blanks only.
std::string CommandText(std::span<const std::uint8_t> bytes) {
    const std::u16string units = FormatCommandBytes(bytes);
    return std::string(units.begin(), units.end());
}

}  // namespace

std::string ControlFontKey(int code) {
    return plat::HexText(static_cast<unsigned>(code), 1, true);
}

void ControlFontTranslator::OnInit(plat::Controls& controls) {
    controls.SetText(IDC_CFT_CHAR, command_.character);
    controls.SetReadOnly(IDC_CFT_CHAR, true);
    controls.SetText(IDC_CFT_HEX, command_.code);
    controls.SetReadOnly(IDC_CFT_HEX, true);
    controls.LimitText(IDC_CFT_COMMAND, static_cast<int>(kCommandTextLimit));
    controls.SetText(IDC_CFT_COMMAND, CommandText(std::span(command_.bytes).first(command_.count)));
}

void ControlFontTranslator::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (notifyCode != plat::kBnClicked) return;
    if (id == plat::kIdCancel) {
        controls.Close(plat::kIdCancel);
        return;
    }
    if (id != plat::kIdOk) return;
    const std::vector<std::uint8_t> bytes = ParseCommandText(CommandUnits(controls.GetText(IDC_CFT_COMMAND)));
    if (!StoreCommand(bytes, command_.bytes, &command_.count)) {
        controls.ShowMessage(kCommandLengthText, kCommandLengthCaption, plat::kMbOk);
        return;
    }
    controls.Close(plat::kIdOk);
}

void ControlFontTable::OnInit(plat::Controls& controls) {
    controls.SetText(IDC_CFONT_DRIVER, kControlFontDriverName);
    controls.SetReadOnly(IDC_CFONT_DRIVER, true);
    controls.ClearItems(IDC_CFONT_LIST);
    for (int row = 0; row < kControlFontRows; ++row) {
        const int code = kFirstControlFontCode + row;
        const std::string key = ControlFontKey(code);
        const int index = controls.AddItem(IDC_CFONT_LIST, std::string(1, static_cast<char>(code)));
        controls.SetItemText(IDC_CFONT_LIST, index, kHexColumn, key);
        SetCommand(controls, row, file_.Read(key));
    }
}

void ControlFontTable::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (id == IDC_CFONT_LIST) {
        if (notifyCode == plat::kListDoubleClick) EditRow(controls);
        return;
    }
    if (notifyCode != plat::kBnClicked) return;
    switch (id) {
        case IDC_CFONT_EDIT:
            EditRow(controls);
            break;
        case IDC_CFONT_DELETE:
            DeleteRow(controls);
            break;
        case plat::kIdOk:
            Save(controls);
            break;
        case plat::kIdCancel:
            controls.Close(plat::kIdCancel);
            break;
    }
}

void ControlFontTable::EditRow(plat::Controls& controls) {
    const int row = controls.Selection(IDC_CFONT_LIST);
    if (row < 0 || row >= kControlFontRows) return;
    ControlFontCommand command;
    command.character = std::string(1, static_cast<char>(kFirstControlFontCode + row));
    command.code = ControlFontKey(kFirstControlFontCode + row);
    const std::vector<std::uint8_t> bytes = ParseCommandText(CommandUnits(commands_[row]));
    if (!StoreCommand(bytes, command.bytes, &command.count)) {
        controls.ShowMessage(kCommandLengthText, kCommandLengthCaption, plat::kMbOk);
        return;
    }
    ControlFontTranslator translator(std::move(command));
    if (controls.RunDialog(IDD_CONTROL_FONT_TRANSLATOR, translator) == plat::kIdOk) {
        const ControlFontCommand& edited = translator.Command();
        SetCommand(controls, row, CommandText(std::span(edited.bytes).first(edited.count)));
    }
    // The row stays selected and in view, and the list keeps the keyboard.
    controls.Select(IDC_CFONT_LIST, row);
    controls.Focus(IDC_CFONT_LIST);
}

void ControlFontTable::DeleteRow(plat::Controls& controls) {
    const int row = controls.Selection(IDC_CFONT_LIST);
    if (row < 0 || row >= kControlFontRows) return;
    SetCommand(controls, row, {});
    controls.Select(IDC_CFONT_LIST, row);
    controls.Focus(IDC_CFONT_LIST);
}

void ControlFontTable::SetCommand(plat::Controls& controls, int row, std::string text) {
    controls.SetItemText(IDC_CFONT_LIST, row, kCommandColumn, text);
    commands_[row] = std::move(text);
}

void ControlFontTable::Save(plat::Controls& controls) {
    std::vector<ControlFontEntry> entries;
    for (int row = 0; row < kControlFontRows; ++row) {
        if (!commands_[row].empty()) entries.emplace_back(ControlFontKey(kFirstControlFontCode + row), commands_[row]);
    }
    // The file is replaced whole or not at all: on failure the old table
    // stays and the dialog stays open with the user's rows.
    if (!file_.WriteAll(entries)) {
        controls.ShowMessage(kControlFontWriteFailed, kControlFontErrorCaption, plat::kMbIconError);
        return;
    }
    controls.Close(plat::kIdOk);
}

}  // namespace plugin
