#include "sim/sim_services.h"
#include "sim/sim_faults.h"

#include "text.h"

namespace sim {

void SimServices::Add(std::string_view name, std::uint32_t state) {
    services_[plat::ToLowerAscii(name)] = Service{state};
}

std::uint32_t SimServices::State(std::string_view name) const {
    auto it = services_.find(plat::ToLowerAscii(name));
    return it == services_.end() ? 0 : it->second.state;
}

void SimServices::Fail(ServiceOp op, long error, int after) {
    failures_[op] = FailureRule{error, after};
    calls_[op] = 0;
}

long SimServices::Failure(ServiceOp op) {
    const int call = ++calls_[op];
    auto it = failures_.find(op);
    if (it == failures_.end() || call <= it->second.after) return plat::kErrorSuccess;
    return it->second.error;
}

SimServices::Service* SimServices::Find(std::string_view name) {
    auto it = services_.find(plat::ToLowerAscii(name));
    return it == services_.end() ? nullptr : &it->second;
}

namespace {
constexpr long kErrorServiceCannotAcceptControl = 1061;  // ERROR_SERVICE_CANNOT_ACCEPT_CTRL
}  // namespace

void SimServices::Stopped(Service& service, std::string_view name) {
    service.state = plat::kServiceStopped;
    service.pendingLeft = 0;
    if (onStopped) onStopped(name);
}

// A start-pending service takes the stop too: the spooler's loading is not
// waited for.
plat::Error SimServices::StopService(std::string_view name) {
    if (long error = Enter(faults, "Services.StopService", plat::kErrorServiceDoesNotExist, name)) return error;
    if (long error = Failure(ServiceOp::Stop)) return error;
    Service* service = Find(name);
    if (!service) return plat::kErrorServiceDoesNotExist;
    if (service->state == plat::kServiceStopped) return plat::kErrorServiceNotActive;
    if (service->state == plat::kServiceStopPending) return kErrorServiceCannotAcceptControl;
    history.push_back("stop " + std::string(name));
    if (stopPendingQueries > 0) {
        service->state = plat::kServiceStopPending;
        service->pendingLeft = stopPendingQueries;
    } else {
        Stopped(*service, name);
    }
    return plat::kErrorSuccess;
}

plat::Error SimServices::StartService(std::string_view name) {
    if (long error = Enter(faults, "Services.StartService", plat::kErrorServiceDoesNotExist, name)) return error;
    if (long error = Failure(ServiceOp::Start)) return error;
    Service* service = Find(name);
    if (!service) return plat::kErrorServiceDoesNotExist;
    if (service->state != plat::kServiceStopped) return plat::kErrorServiceAlreadyRunning;
    history.push_back("start " + std::string(name));
    // A service that dies while loading was started all the same: the
    // manager's answer is success, only later queries see it stopped.
    if (startsButDies) return plat::kErrorSuccess;
    service->pendingLeft = pendingQueries;
    service->state = pendingQueries > 0 ? plat::kServiceStartPending : plat::kServiceRunning;
    return plat::kErrorSuccess;
}

plat::Error SimServices::QueryServiceState(std::string_view name, std::uint32_t* state) {
    if (long error = Enter(faults, "Services.QueryServiceState", plat::kErrorServiceDoesNotExist, name)) return error;
    if (long error = Failure(ServiceOp::Query)) return error;
    Service* service = Find(name);
    if (!service) return plat::kErrorServiceDoesNotExist;
    *state = service->state;
    if (service->state == plat::kServiceStartPending && --service->pendingLeft <= 0) {
        service->state = plat::kServiceRunning;
    } else if (service->state == plat::kServiceStopPending && --service->pendingLeft <= 0) {
        Stopped(*service, name);
    }
    return plat::kErrorSuccess;
}

}  // namespace sim
