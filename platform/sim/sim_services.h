#pragma once
// The simulated service control manager: services by name (compared without
// regard to case) with their state. A service that is asked to start reports
// start-pending for a number of queries first, as the spooler does while it
// loads its providers; one asked to stop may likewise report stop-pending.
// Any operation can be made to fail.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ports/services.h"

namespace sim {

class FaultPlan;

enum class ServiceOp { Stop, Start, Query };

class SimServices : public plat::Services {
public:
    // The machine's plan of failures, consulted on entry of every call.
    FaultPlan* faults = nullptr;

    SimServices() { Add(plat::kSpoolerService); }

    // 1060 for an unknown service; stopping a stopped one 1062, a
    // stop-pending one 1061; starting one that is not stopped (running,
    // start-pending or still stopping) 1056.
    plat::Error StopService(std::string_view name) override;
    plat::Error StartService(std::string_view name) override;
    plat::Error QueryServiceState(std::string_view name, std::uint32_t* state) override;

    void Add(std::string_view name, std::uint32_t state = plat::kServiceRunning);
    std::uint32_t State(std::string_view name) const;
    bool IsRunning(std::string_view name) const { return State(name) == plat::kServiceRunning; }
    // Queries that answer start-pending after a start, before running.
    int pendingQueries = 0;
    // A start that succeeds yet leaves the service stopped (it fails while
    // loading), so that it never runs.
    bool startsButDies = false;
    // Queries that answer stop-pending after a stop, before stopped: a
    // spooler slow to let its providers go.
    int stopPendingQueries = 0;
    // Called when a service has come to a stop, with its name: its process
    // has let go of what it held.
    std::function<void(std::string_view)> onStopped;

    // Makes every later `op` fail with `error`, after the first `after` calls.
    void Fail(ServiceOp op, long error, int after = 0);
    void ClearFailures() { failures_.clear(); }

    // "stop NAME" and "start NAME" for every successful stop and start, in order.
    std::vector<std::string> history;

private:
    struct Service {
        std::uint32_t state = plat::kServiceRunning;
        int pendingLeft = 0;
    };
    struct FailureRule {
        long error;
        int after;
    };
    long Failure(ServiceOp op);
    Service* Find(std::string_view name);
    void Stopped(Service& service, std::string_view name);

    std::map<std::string, Service> services_;  // by lower-cased name
    std::map<ServiceOp, FailureRule> failures_;
    std::map<ServiceOp, int> calls_;
};

}  // namespace sim
