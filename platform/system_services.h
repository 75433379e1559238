#pragma once
// The platform's services an installation or a removal works on, handed
// around as one.
#include "ports/clock.h"
#include "ports/desktop.h"
#include "ports/files.h"
#include "ports/profile.h"
#include "ports/registry.h"
#include "ports/services.h"
#include "ports/spooler_admin.h"
#include "ports/system_info.h"

namespace plat {

// `Spooler` is as much of the spooler as the program works on: the
// installation adds to it (SpoolerInstall), the removal only reads and
// deletes (SpoolerAdmin).
template <typename Spooler>
struct ServicesWith {
    Profile& profile;
    Registry& registry;
    Files& files;
    Spooler& spooler;
    Services& services;
    SystemInfo& system;
    Clock& clock;
    Desktop& desktop;
};

}  // namespace plat
