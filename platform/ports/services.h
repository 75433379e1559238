#pragma once
// The service control manager as the installer and the uninstaller use it:
// one service stopped, started and asked for its state. Each call opens the
// manager and the service and closes them again. Results are Win32 error
// codes (0 success).
#include <cstdint>
#include <string_view>

#include "ports/errors.h"

namespace plat {

// SERVICE_STATUS.dwCurrentState values.
constexpr std::uint32_t kServiceStopped = 1;
constexpr std::uint32_t kServiceStartPending = 2;
constexpr std::uint32_t kServiceStopPending = 3;
constexpr std::uint32_t kServiceRunning = 4;

constexpr long kErrorServiceDoesNotExist = 1060;    // ERROR_SERVICE_DOES_NOT_EXIST
constexpr long kErrorServiceAlreadyRunning = 1056;  // ERROR_SERVICE_ALREADY_RUNNING
constexpr long kErrorServiceNotActive = 1062;       // ERROR_SERVICE_NOT_ACTIVE

// The print spooler's service.
constexpr std::string_view kSpoolerService = "Spooler";

class Services {
public:
    virtual ~Services() = default;
    // The manager with full access, the service with stop access,
    // ControlService(SERVICE_CONTROL_STOP).
    virtual Error StopService(std::string_view name) = 0;
    // The service with start access, StartService without arguments.
    virtual Error StartService(std::string_view name) = 0;
    // QueryServiceStatus: the service's current state.
    virtual Error QueryServiceState(std::string_view name, std::uint32_t* state) = 0;
};

}  // namespace plat
