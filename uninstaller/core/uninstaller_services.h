#pragma once
// The platform's services the uninstaller works on.
#include "ports/clock.h"
#include "ports/desktop.h"
#include "ports/files.h"
#include "ports/profile.h"
#include "ports/registry.h"
#include "ports/services.h"
#include "ports/spooler_admin.h"
#include "ports/system_info.h"

namespace uninstall {

struct UninstallerServices {
    plat::Profile& profile;
    plat::Registry& registry;
    plat::Files& files;
    plat::SpoolerAdmin& spooler;
    plat::Services& services;
    plat::SystemInfo& system;
    plat::Clock& clock;
    plat::Desktop& desktop;
};

}  // namespace uninstall
