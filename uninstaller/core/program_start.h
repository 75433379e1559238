#pragma once
// What Desinstalar checks before its dialog opens.
#include <string_view>

#include "ports/desktop.h"
#include "ports/system_info.h"
#include "programs/program_start.h"

namespace uninstall {

// The mutex named after the executable: a second start brings the first
// uninstaller to the front and ends; an open installer wizard is refused with
// a message. True when the dialog may open.
bool PrepareUninstallerStart(plat::Desktop& desktop, plat::SystemInfo& system);

constexpr std::string_view kInstallerCaption = programs::kSetupCaption;
constexpr std::string_view kCloseInstallerFirst = "Primeiramente, favor fechar o Setup do Driver da Impressora";

}  // namespace uninstall
