#include "programs/program_start.h"

#include "text.h"

namespace programs {

bool PrepareProgramStart(plat::Desktop& desktop, plat::SystemInfo& system, std::string_view ownCaption,
                         std::string_view otherCaption, std::string_view otherOpen) {
    if (!desktop.CreateSingleInstanceMutex(plat::ApplicationName(system.ExecutablePath()))) {
        if (plat::WindowRef first = desktop.FindTopLevelWindow(ownCaption)) desktop.BringToFront(first);
        return false;
    }
    if (desktop.FindTopLevelWindow(otherCaption)) {
        desktop.ShowMessage(0, otherOpen, ownCaption, plat::kMbOk);
        return false;
    }
    return true;
}

}  // namespace programs
