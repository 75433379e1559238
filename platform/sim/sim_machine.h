#pragma once
// One simulated Windows machine: what a test sets up before the code runs and
// inspects afterwards.
#include "sim/os_code_print.h"
#include "sim/sim_clock.h"
#include "sim/sim_controls.h"
#include "sim/sim_desktop.h"
#include "sim/sim_faults.h"
#include "sim/sim_files.h"
#include "sim/sim_profile.h"
#include "sim/sim_registry.h"
#include "sim/sim_services.h"
#include "sim/sim_spooler.h"
#include "sim/sim_system_info.h"
#include "sim/sim_usb_library.h"
#include "text.h"

namespace sim {

// The system's own folders exist from the start, so that copies into them
// find their folder; a test that moves one (a spooler directory, say) makes
// the new one itself.
struct SimMachine {
    SimMachine() {
        spooler.Attach(&files, &registry, &services);
        services.onStopped = [this](std::string_view name) {
            if (plat::EqualsNoCase(name, plat::kSpoolerService)) spooler.Unloaded();
        };
        usb.files = &files;
        for (FaultPlan** part : {&files.faults, &profile.faults, &registry.faults, &system.faults, &usb.faults,
                                 &services.faults, &spooler.faults, &desktop.faults}) {
            *part = &faults;
        }
        for (const std::string& folder :
             {system.windowsDirectory, system.windowsDirectory + "\\inf", system.systemDirectory,
              spooler.driverDirectory, spooler.driverDirectory + "\\3", spooler.processorDirectory}) {
            files.MakeFolder(folder);
        }
    }
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    // What the programs hold of the machine: printer handles, registry keys,
    // the loaded USB library and its open devices. The service manager's and
    // the services' handles, and find handles, live only inside one port
    // call and are always given back before it returns.
    std::size_t OpenHandles() const {
        return spooler.OpenHandleCount() + registry.OpenHandleCount() + (usb.loaded ? 1 : 0) + usb.openDevices.size();
    }

    // The program running on the machine has ended, finished or died: the
    // system closes what it held open (printer handles, registry keys, the
    // USB library and its devices) and keeps everything else: files,
    // registry, the spooler's objects, the services' states, the programs it
    // started. The plan stops, so that the next program runs unhindered.
    void ProcessEnded() {
        faults.Stop();
        spooler.ProcessEnded();
        registry.ProcessEnded();
        usb.ProcessEnded();
    }

    FaultPlan faults;
    SimFiles files;
    SimProfile profile{files};
    SimRegistry registry;
    SimSystemInfo system;
    SimDesktop desktop;
    SimClock clock;
    SimUsbLibrary usb;
    SimServices services;
    SimSpooler spooler;
};

}  // namespace sim
