#pragma once
// The removal of the ticked items: the check for queued jobs before the walk,
// and the walk itself, which the RemovalWorker runs on its own thread. Every
// step that touches the dialog goes through its controls.
#include <string>
#include <string_view>

#include "core/uninstall_list.h"
#include "core/uninstaller_services.h"
#include "ports/controls.h"

namespace uninstall {

// What a removal works with, settled when the dialog opened.
struct RemovalSetup {
    programs::OsCode osCode = programs::OsCode::kWin98Me;
    std::string profilePath;  // Uninstall.ini
    PackagePatterns patterns;
    bool driverExBound = false;
};

class Removal {
public:
    Removal(UninstallerServices& io, plat::Controls& controls, const RemovalSetup& setup)
        : io_(io), controls_(controls), setup_(setup) {}

    // No local printer may have jobs waiting; false (with the log line) when
    // one has, when a printer cannot be read, or when the spooler, found
    // stopped, cannot be started.
    bool PreCheck();
    // The whole walk: the ticked items, the USB driver tool, the restart
    // question and the controls enabled again.
    void Run();

    // A line added at the end of the log and selected, so that the last line
    // is always in view.
    void Log(std::string_view line);

    // A spooler found stopped is started and waited for; false, with the log
    // line, when it does not run. True when it runs, when its state cannot
    // be read, and on Windows 98/Me, which has no spooler service.
    bool StartStoppedSpooler();

private:
    // The result of one item: the walk goes on, or ends at once.
    enum class Next { Continue, EndWalk };
    Next RemoveMonitor(int* index);
    Next RemoveProcessor(int* index);
    Next RemovePrinter(int* index);
    void DeleteDriver(const plat::PrinterInfo2& printer);
    // A monitor or processor that did not go: logged, and the walk goes on.
    Next ComponentFailed(bool inUse);
    // The item went: logged, taken off the list, the restart question due.
    void Removed(int* index);
    // Reads a printer's information, logging 115 or 116 when it cannot.
    bool ReadPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info);
    // Opens a local printer with all access and reads it, logging 113, 115 or
    // 116 when it cannot.
    bool ReadLocalPrinter(const std::string& name, plat::PrinterInfo2* info);
    // Windows 98/Me: no monitor goes while a printer is on an "MDCOM" port.
    bool Win98PortsFree();
    void RestartSpooler();
    // Starts the spooler and asks its state until it runs (starting it once
    // more when it is seen stopped); false, with the log line, when it never
    // runs.
    bool StartSpoolerAndWait();
    void DeleteMonitorFiles(std::string_view monitor);
    void DeleteProcessorFile(std::string_view processor);
    void DeleteOwnFile(const std::string& path);
    void RemoveUsbDriver();
    void EndWalk();
    std::string ReadIni(std::string_view section, std::string_view key);

    UninstallerServices& io_;
    plat::Controls& controls_;
    const RemovalSetup& setup_;
    std::string item_;  // the current item's name
    bool changed_ = false;
};

// The fixed waits of a removal.
constexpr unsigned kBeforeItem = 500;
constexpr unsigned kSpoolerStopped = 2000;
constexpr unsigned kAfterRestart = 500;
constexpr unsigned kAfterFailure = 100;
constexpr unsigned kAfterPrinterDeleted = 100;
constexpr unsigned kAfterPrinterRestart = 1000;
constexpr unsigned kAfterDriver = 1000;
constexpr unsigned kUsbToolStart = 500;
constexpr unsigned kUsbToolPoll = 1000;
constexpr unsigned kUsbToolLinger = 1500;

}  // namespace uninstall
