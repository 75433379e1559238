#include "core/spooler_control.h"

#include "core/os_code.h"

namespace setup {

void StopSpooler(InstallSession& session) {
    programs::StopSpooler(session.io.services, session.io.clock, kStopSpoolerWait);
}

void StartSpooler(InstallSession& session) {
    const long error = programs::StartSpooler(session.io.services);
    if (error != plat::kErrorSuccess && error != plat::kErrorServiceAlreadyRunning) {
        session.resultMessage = programs::SpoolerStartFailedText(error);
    }
}

bool WaitSpoolerRunning(InstallSession& session) {
    if (programs::WaitSpoolerRunning(session.io.services, session.io.clock)) return true;
    session.resultMessage = programs::kSpoolerNotRunningText;
    return false;
}

bool StartStoppedSpooler(InstallSession& session) {
    if (session.target == OsCode::kWin98Me || !programs::SpoolerLeftStopped(session.io.services)) return true;
    StartSpooler(session);
    return !session.failed() && WaitSpoolerRunning(session);
}

}  // namespace setup
