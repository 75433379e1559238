#include "win32/win32_services.h"

#include <windows.h>
#include <winsvc.h>
// <winsvc.h> maps StartService to its A or W function; here it names the
// port's operation.
#undef StartService

#include <string>

#include "win32/encoding.h"
#include "win32/last_error.h"
#include "win32/scoped_win32.h"

namespace win32 {

namespace {

// Opens the local manager with full access and the service `name` with
// `access`; both are closed when `service` and `manager` go.
long OpenNamedService(std::string_view name, DWORD access, ScopedService* manager, ScopedService* service) {
    manager->reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!*manager) return LastErrorOfFailure();
    const std::string ansi = Utf8ToAnsi(name);
    service->reset(OpenServiceA(manager->get(), ansi.c_str(), access));
    return *service ? ERROR_SUCCESS : LastErrorOfFailure();
}
}  // namespace

plat::Error Win32Services::StopService(std::string_view name) {
    ScopedService manager, service;
    if (const long error = OpenNamedService(name, SERVICE_STOP, &manager, &service)) return error;
    SERVICE_STATUS status{};
    return ControlService(service.get(), SERVICE_CONTROL_STOP, &status) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Services::StartService(std::string_view name) {
    ScopedService manager, service;
    if (const long error = OpenNamedService(name, SERVICE_START, &manager, &service)) return error;
    return StartServiceA(service.get(), 0, nullptr) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Services::QueryServiceState(std::string_view name, std::uint32_t* state) {
    ScopedService manager, service;
    if (const long error = OpenNamedService(name, SERVICE_QUERY_STATUS, &manager, &service)) return error;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service.get(), &status)) return LastErrorOfFailure();
    *state = status.dwCurrentState;
    return ERROR_SUCCESS;
}

}  // namespace win32
