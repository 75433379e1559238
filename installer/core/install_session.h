#pragma once
// What one run of the installation engine works on: the platform's services,
// the target system, and the result message every step writes its failure
// into.
#include <string>

#include "core/os_code.h"
#include "system_services.h"

namespace setup {

using InstallServices = plat::ServicesWith<plat::SpoolerInstall, plat::FilesInstall>;

struct InstallSession {
    InstallServices io;
    // The OsCode the installation is for.
    OsCode target = OsCode::kWin98Me;
    // ResultMessage: empty until a step fails, or the success text at the end.
    std::string resultMessage;

    bool failed() const { return !resultMessage.empty(); }
};

}  // namespace setup
