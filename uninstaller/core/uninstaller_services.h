#pragma once
// The platform's services the uninstaller works on.
#include "system_services.h"

namespace uninstall {

using UninstallerServices = plat::ServicesWith<plat::SpoolerAdmin, plat::Files>;

}  // namespace uninstall
