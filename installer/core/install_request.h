#pragma once
// What the wizard hands the installation worker, and what the worker hands
// back across the two threads.
#include <atomic>
#include <string>

#include "core/driver_key_reader.h"
#include "core/os_code.h"
#include "core/install_type_page.h"
#include "core/port_names.h"
#include "core/serial_settings.h"

namespace setup {

// What the configuration files say about the driver of an installation,
// read once on the wizard's thread before the worker starts.
struct InstallDescriptions {
    DriverFileSet files;
    plat::DriverInfo3 driver;
    // False when the driver's dependent-file list does not fit its 200 bytes.
    bool driverFits = true;
    // Driver name, print processor and attributes; the worker names it and
    // gives it its port.
    plat::PrinterInfo2 printer;
    MonitorDescriptions monitors;
    ProcessorDescription processor;
    // The driver is built on the Unidrv core (its key set's 2KDDKDEV).
    bool ddkFlag = false;
};

struct InstallRequest {
    int module = 0;
    std::string modelName;
    bool makeDefault = false;
    std::string setupIniPath, moduleIniPath;
    int installType = kInstallTypical;
    OsCode osCode = OsCode::kWin98Me;
    std::string portName;
    int rasterGraphic = 0;
    SerialSettings serial;
    int portKind = kPortCom;
    std::string printerName;
    // The port the printer is created on: portName, or for the KTR-D9 family
    // the name recorded for its USB printer.
    std::string printerPort;
    std::string registeredPortName;
    InstallDescriptions descriptions;
};

// The worker's progress and result. The worker writes its result message and
// then publishes its final state with release ordering; the wizard reads the
// message only after it has seen that state with acquire ordering (or after
// the worker's thread has ended), so it never sees a half-written message.
class InstallProgress {
public:
    enum State : int { kRunning = 0, kFailed = 1, kDone = 2 };

    void Start() {
        message_.clear();
        state_.store(kRunning, std::memory_order_relaxed);
    }
    // The worker's one and only report.
    void Finish(State state, std::string message) {
        message_ = std::move(message);
        state_.store(state, std::memory_order_release);
    }
    int state() const { return state_.load(std::memory_order_acquire); }
    // Valid once state() is no longer kRunning.
    const std::string& resultMessage() const { return message_; }

private:
    std::atomic<int> state_{kRunning};
    std::string message_;
};

}  // namespace setup
