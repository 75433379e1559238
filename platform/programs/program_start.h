#pragma once
// What each of the two programs checks before its window opens: one instance
// at a time, and never while the other program's window is open (Setup and
// Desinstalar never run together).
#include <string_view>

#include "ports/desktop.h"
#include "ports/system_info.h"
#include "programs/program_captions.h"

namespace programs {

constexpr std::string_view kSetupCaption = SETUP_TEXT_CAPTION;
constexpr std::string_view kUninstallerCaption = UNINSTALLER_TEXT_CAPTION;

// The mutex named after the executable: a second start brings the first
// one's window (captioned `ownCaption`) to the front and ends silently. A
// window captioned `otherCaption` is named with `otherOpen` in a box
// captioned `ownCaption`. True when the program's window may open.
bool PrepareProgramStart(plat::Desktop& desktop, plat::SystemInfo& system, std::string_view ownCaption,
                         std::string_view otherCaption, std::string_view otherOpen);

}  // namespace programs
