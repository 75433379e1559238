#include "programs/spooler_restart.h"

#include "ports/errors.h"

namespace programs {

void StopSpooler(plat::Services& services, plat::Clock& clock, unsigned settle) {
    (void)services.StopService(plat::kSpoolerService);
    clock.Sleep(settle);
}

plat::Error StartSpooler(plat::Services& services) {
    return services.StartService(plat::kSpoolerService);
}

bool WaitSpoolerRunning(plat::Services& services, plat::Clock& clock, long* startError) {
    bool startedAgain = false;
    for (int query = 0; query < kSpoolerRunningQueries; ++query) {
        if (query > 0) clock.Sleep(kSpoolerRunningQueryInterval);
        std::uint32_t state = 0;
        if (services.QueryServiceState(plat::kSpoolerService, &state) != plat::kErrorSuccess) continue;
        if (state == plat::kServiceRunning) return true;
        if (startError && state == plat::kServiceStopped && !startedAgain) {
            *startError = StartSpooler(services);
            startedAgain = true;
        }
    }
    return false;
}

bool SpoolerLeftStopped(plat::Services& services) {
    std::uint32_t state = 0;
    return services.QueryServiceState(plat::kSpoolerService, &state) == plat::kErrorSuccess &&
           state == plat::kServiceStopped;
}

std::string SpoolerStartFailedText(long error) {
    return "Erro ao iniciar o serviço de spool, código erro = " + std::to_string(static_cast<unsigned long>(error));
}

}  // namespace programs
