#pragma once
// The fixed texts of Setup, from its string table.
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

}  // namespace setup
