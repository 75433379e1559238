#pragma once
// The package's port monitors, USB language monitor and print processor kept
// at the versions its configuration names: a missing component is installed,
// an outdated one reported, and at most one outdated component replaced per
// installation.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/driver_key_reader.h"
#include "core/install_session.h"

namespace setup {

// UpdateFlags bits.
enum UpdateFlag : int {
    kComMonitorOutdated = 1,
    kUsbMonitorOutdated = 2,
    kLanguageMonitorOutdated = 4,
    kProcessorOutdated = 8,
};
// Check results that stop the installation.
constexpr int kMonitorAddFailed = -15;
constexpr int kProcessorAddFailed = -14;

// Where the spooler keeps a component's records (HKEY_LOCAL_MACHINE).
std::string MonitorKey(std::string_view monitorName);
std::string ProcessorKey(OsCode target, std::string_view processorName);

// A component's DriverVersion value names the version installed.
constexpr std::string_view kVersionValue = "DriverVersion";
constexpr std::string_view kDriverValue = "Driver";

// The COM or USB port monitor of the port: 0, kComMonitorOutdated,
// kUsbMonitorOutdated or kMonitorAddFailed. Parallel ports have none.
int CheckPortMonitors(InstallSession& session, const MonitorDescriptions& monitors, std::string_view portName);
// The USB language monitor of a USB port: 0, kLanguageMonitorOutdated or
// kMonitorAddFailed.
int CheckLanguageMonitor(InstallSession& session, const MonitorDescriptions& monitors, std::string_view portName);
// The printer's print processor: 0, kProcessorOutdated or kProcessorAddFailed.
// The system's own "WinPrint" needs nothing.
int CheckPrintProcessor(InstallSession& session, const ProcessorDescription& processor);

// Replaces the first outdated component in the order COM monitor, USB
// monitor, processor; on the NT family with the spooler stopped around the
// copy. False when the installation must stop (the reason in the result).
bool UpdateOutdatedComponent(InstallSession& session, int updateFlags, const MonitorDescriptions& monitors,
                             const ProcessorDescription& processor);

// The language monitor's replacement, made without stopping the spooler.
// False when the installation must stop.
bool ReplaceLanguageMonitor(InstallSession& session, const MonitorDescription& language);

// The fixed waits around the spooler during a replacement.
constexpr unsigned kAfterStopForUpdate = 500;
constexpr unsigned kAfterSecondStart = 2500;
constexpr unsigned kAfterProcessorAdded = 200;
// The wait after the first start, by target.
unsigned AfterStartWait(OsCode target);

}  // namespace setup
