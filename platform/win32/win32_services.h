#pragma once
#include "ports/services.h"

namespace win32 {

// The service control manager through the A functions.
class Win32Services : public plat::Services {
public:
    plat::Error StopService(std::string_view name) override;
    plat::Error StartService(std::string_view name) override;
    plat::Error QueryServiceState(std::string_view name, std::uint32_t* state) override;
};

}  // namespace win32
