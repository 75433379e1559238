#pragma once
#include "ports/services.h"

namespace win32 {

// The service control manager through the A functions.
class Win32Services : public plat::Services {
public:
    long StopService(std::string_view name) override;
    long StartService(std::string_view name) override;
    long QueryServiceState(std::string_view name, std::uint32_t* state) override;
};

}  // namespace win32
