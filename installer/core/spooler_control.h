#pragma once
// Stopping and starting the print spooler's service around the replacement
// of a component it holds loaded, with the waits the spooler needs.
#include "core/install_session.h"
#include "programs/spooler_restart.h"

namespace setup {

// Asks the spooler to stop (a failure is not reported: at worst the copy
// that follows finds its file in use) and waits 100 ms.
void StopSpooler(InstallSession& session);
// Starts the spooler; a failure other than "already running" is written into
// the session's result.
void StartSpooler(InstallSession& session);
// Asks the spooler's state up to 10 times, 300 ms apart; false, with
// "StartSpoolService error" in the result, when it never runs.
bool WaitSpoolerRunning(InstallSession& session);
// A spooler found stopped (a program died while it was stopped for an
// update, and nothing else starts it) is started and waited for as after an
// update; false, with the result written, when it does not run. One whose
// state cannot be read is left as it is: the installation goes on as it
// always did. Windows 98/Me has no spooler service.
bool StartStoppedSpooler(InstallSession& session);

constexpr unsigned kStopSpoolerWait = 100;

}  // namespace setup
