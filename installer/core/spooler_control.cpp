#include "core/spooler_control.h"

#include "core/os_code.h"
#include "spooler_service.h"

namespace setup {

void StopSpooler(InstallSession& session) {
    (void)session.io.services.StopService(plat::kSpoolerService);
    session.io.clock.Sleep(kStopSpoolerWait);
}

void StartSpooler(InstallSession& session) {
    const long error = session.io.services.StartService(plat::kSpoolerService);
    if (error != plat::kErrorSuccess && error != plat::kErrorServiceAlreadyRunning) {
        session.resultMessage = plat::SpoolerStartFailedText(error);
    }
}

bool WaitSpoolerRunning(InstallSession& session) {
    for (int query = 0; query < kRunningQueries; ++query) {
        if (query > 0) session.io.clock.Sleep(kRunningQueryInterval);
        std::uint32_t state = 0;
        if (session.io.services.QueryServiceState(plat::kSpoolerService, &state) == plat::kErrorSuccess &&
            state == plat::kServiceRunning) {
            return true;
        }
    }
    session.resultMessage = plat::kSpoolerNotRunningText;
    return false;
}

bool StartStoppedSpooler(InstallSession& session) {
    if (session.target == kOsWin98Me) return true;
    std::uint32_t state = 0;
    if (session.io.services.QueryServiceState(plat::kSpoolerService, &state) != plat::kErrorSuccess ||
        state != plat::kServiceStopped) {
        return true;
    }
    StartSpooler(session);
    return !session.failed() && WaitSpoolerRunning(session);
}

}  // namespace setup
