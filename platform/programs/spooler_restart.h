#pragma once
// Stopping the print spooler's service and bringing it back, as both programs
// do around a component the spooler holds loaded, with the waits each needs,
// and the texts they give when it does not come back: Setup in its result,
// Desinstalar in its log.
#include <string>
#include <string_view>

#include "ports/clock.h"
#include "ports/services.h"

namespace programs {

// The spooler's state is asked up to 10 times, 300 ms apart, for it to run.
constexpr int kSpoolerRunningQueries = 10;
constexpr unsigned kSpoolerRunningQueryInterval = 300;

// Asks the spooler to stop (a refusal is not reported: what follows finds
// the component still in use) and waits `settle` milliseconds.
void StopSpooler(plat::Services& services, plat::Clock& clock, unsigned settle);
// StartService's result for the spooler.
plat::Error StartSpooler(plat::Services& services);
// Asks the spooler's state until it runs, kSpoolerRunningQueries times
// kSpoolerRunningQueryInterval apart; a state that cannot be read counts as
// not running yet. Given `startError`, a spooler seen stopped (a start asked
// while it was still stopping is lost) is started once more, and
// `*startError` takes that start's result. True once it runs.
bool WaitSpoolerRunning(plat::Services& services, plat::Clock& clock, long* startError = nullptr);
// True when the spooler's state can be read and is stopped: a program that
// died between stopping and starting it left it so, and nothing else starts it.
bool SpoolerLeftStopped(plat::Services& services);

// StartService refused to start the spooler with `error`.
std::string SpoolerStartFailedText(long error);
// The spooler was started yet never ran while its state was asked.
constexpr std::string_view kSpoolerNotRunningText = "StartSpoolService error";

}  // namespace programs
