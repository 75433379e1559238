#pragma once
// The control-font character translation table (template 115): one row per
// printable character 0x20..0x7F with the printer command it stands for when
// an application prints with the control font, and the translator dialog
// (template 116) that edits the command of one row. Nothing is stored until
// the table's OK, which replaces the whole file.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/control_font_file.h"
#include "core/list_column.h"
#include "ports/controls.h"

namespace plugin {

constexpr int kFirstControlFontCode = 0x20;
constexpr int kControlFontRows = 96;  // 0x20..0x7F
constexpr std::string_view kControlFontDriverName = "OLVEN Printer Driver";
constexpr std::string_view kControlFontWriteFailed = "Favor checar se o usuário tem privilégios de Administrador!";
constexpr std::string_view kControlFontErrorCaption = "Erro";
// The table's columns, in order: the character, its code, its command.
constexpr std::array<ListColumn, 3> kControlFontColumns{{{"Char", 50}, {"Hex", 50}, {"Command", 450}}};

// What the table hands the translator and gets back: the row's character
// and code, and the command as at most kMaxCommandBytes bytes.
struct ControlFontCommand {
    std::string character;
    std::string code;
    std::array<std::uint8_t, 256> bytes{};
    std::uint8_t count = 0;
};

class ControlFontTranslator : public plat::DialogHandler {
public:
    explicit ControlFontTranslator(ControlFontCommand command) : command_(std::move(command)) {}
    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    // The command as the dialog left it: changed only by OK.
    const ControlFontCommand& Command() const { return command_; }

private:
    ControlFontCommand command_;
};

class ControlFontTable : public plat::DialogHandler {
public:
    explicit ControlFontTable(ControlFontFile& file) : file_(file) {}
    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;

private:
    void EditRow(plat::Controls& controls);
    void DeleteRow(plat::Controls& controls);
    void SetCommand(plat::Controls& controls, int row, std::string text);
    void Save(plat::Controls& controls);

    ControlFontFile& file_;
    // The command text of each row, as the list shows it: the text read from
    // the file is kept unchanged until the row is edited.
    std::array<std::string, kControlFontRows> commands_;
};

// The key of a character in the file and its text in the "Hex" column.
std::string ControlFontKey(int code);

}  // namespace plugin
