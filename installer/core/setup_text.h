#pragma once
// The fixed texts of Setup: its string table, and the texts the program
// writes besides.
#include <string_view>

#include "setup_fixed_text.h"

namespace setup {

enum SetupStringId : int {
#define SETUP_STRING(name, id, text) name = id,
#include "setup_strings.inc"
#undef SETUP_STRING
};

// The text of a string-table entry; empty for an unknown id.
std::string_view SetupString(int id);

// The caption of the wizard and of the messages Setup shows.
constexpr std::string_view kWizardCaption = SETUP_TEXT_CAPTION;

// The end of an installation that left no text of its own (Windows 98/Me).
constexpr std::string_view kInstalledText = "Driver da Impressora instalado com sucesso";
// Lines added to the final message for the wishes an installation could not
// fulfil; the printer is installed all the same.
constexpr std::string_view kDefaultPrinterNotSet = "Não foi possível definir a impressora padrão.";
constexpr std::string_view kSerialSettingsNotStored = "Não foi possível gravar as configurações da porta serial.";

}  // namespace setup
