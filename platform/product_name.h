#pragma once
// Windows Server 2008 reports the version numbers of Windows Vista; only its
// product name under "SOFTWARE\Microsoft\Windows NT\CurrentVersion" tells it
// apart. Both programs ask.
#include "ports/registry.h"

namespace plat {

// True when the product name contains "2008"; an unreadable name counts as
// another system.
bool IsServer2008(Registry& registry);

}  // namespace plat
