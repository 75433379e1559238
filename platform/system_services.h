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

// `Spooler` and `FileSystem` are as much of the spooler and of the file
// system as the program works on: the installation adds to both
// (SpoolerInstall, FilesInstall), the removal only reads and deletes
// (SpoolerAdmin, Files).
template <typename Spooler, typename FileSystem>
struct ServicesWith {
    Profile& profile;
    Registry& registry;
    FileSystem& files;
    Spooler& spooler;
    Services& services;
    SystemInfo& system;
    Clock& clock;
    Desktop& desktop;
};

}  // namespace plat
