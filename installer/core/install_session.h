#pragma once
// What one run of the installation engine works on: the platform's services,
// the target system, and the result message every step writes its failure
// into.
#include <string>

#include "ports/clock.h"
#include "ports/desktop.h"
#include "ports/files.h"
#include "ports/profile.h"
#include "ports/registry.h"
#include "ports/services.h"
#include "ports/spooler_admin.h"
#include "ports/system_info.h"

namespace setup {

struct InstallServices {
    plat::Profile& profile;
    plat::Registry& registry;
    plat::Files& files;
    plat::SpoolerAdmin& spooler;
    plat::Services& services;
    plat::SystemInfo& system;
    plat::Clock& clock;
    plat::Desktop& desktop;
};

struct InstallSession {
    InstallServices io;
    // The OsCode the installation is for.
    int target = 0;
    // ResultMessage: empty until a step fails, or the success text at the end.
    std::string resultMessage;

    bool failed() const { return !resultMessage.empty(); }
};

}  // namespace setup
