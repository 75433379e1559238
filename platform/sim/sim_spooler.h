#pragma once
// The simulated print spooler: printers by name (compared without regard to
// case), handles opened on them and the jobs written through those handles,
// each with its bytes and how far it was ended; and, as an installer sees it,
// drivers, monitors, print processors, ports and the default printer.
// Sequencing mistakes fail with the codes Windows gives; any operation can be
// made to fail.
//
// Attached to a machine's files, registry and services (SimMachine does it),
// it checks what Windows checks: a driver's files must be in the driver
// directory, a monitor's DLL in the system directory, a processor's file in
// the processor directory; adding a monitor or processor creates its key
// under the spooler's registry branch with its "Driver" value; and every call
// fails with 1722 while the "Spooler" service is not running.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ports/spooler.h"
#include "ports/spooler_admin.h"

namespace sim {

class FaultPlan;

class SimFiles;
class SimRegistry;
class SimServices;

enum class SpoolerOp {
    OpenPrinter,
    ClosePrinter,
    StartDocPrinter,
    StartPagePrinter,
    WritePrinter,
    EndPagePrinter,
    EndDocPrinter,
    GetPrinterDriverDirectory,
    GetPrintProcessorDirectory,
    AddPrinterDriver,
    AddPrinter,
    GetPrinter,
    SetPrinter,
    SetDefaultPrinter,
    AddMonitor,
    AddPrintProcessor,
    EnumPorts,
    EnumPrinters,
    OpenPrinterAllAccess,
    DeletePrinter,
    BindDeletePrinterDriverEx,
    DeletePrinterDriverEx,
    DeletePrinterDriver,
    EnumMonitors,
    EnumPrintProcessors,
    DeleteMonitor,
    DeletePrintProcessor,
    EnumForms,
    AddForm,
    SetForm
};

// RPC_S_SERVER_UNAVAILABLE: what every spooler call answers while the
// spooler's service is stopped.
constexpr long kErrorRpcServerUnavailable = 1722;
constexpr long kErrorUnknownPort = 1796;  // ERROR_UNKNOWN_PORT

// One document as the spooler holds it.
struct SimJob {
    std::uint32_t id = 0;
    std::string docName;
    std::string dataType;
    std::vector<std::uint8_t> bytes;  // everything the spooler took, in order
    int pagesStarted = 0;
    int pagesEnded = 0;
    bool ended = false;  // EndDocPrinter succeeded on it
};

struct SimMonitor {
    std::string name;
    std::string environment;
    std::string dllName;
};

struct SimProcessor {
    std::string name;
    std::string environment;
    std::string fileName;
};

class SimSpooler : public plat::Spooler, public plat::SpoolerInstall {
public:
    // The machine's plan of failures, consulted on entry of every call.
    FaultPlan* faults = nullptr;

    void Attach(SimFiles* files, SimRegistry* registry, SimServices* services) {
        files_ = files;
        registry_ = registry;
        services_ = services;
    }
    // The spooler's process has ended: the libraries it kept loaded are free.
    void Unloaded();

    plat::Error OpenPrinter(std::string_view name, plat::PrinterHandle* printer) override;
    plat::Error ClosePrinter(plat::PrinterHandle printer) override;
    plat::Error StartDocPrinter(plat::PrinterHandle printer, std::string_view docName, std::string_view dataType,
                         std::uint32_t* jobId) override;
    plat::Error StartPagePrinter(plat::PrinterHandle printer) override;
    plat::Error WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                      std::uint32_t* written) override;
    plat::Error EndPagePrinter(plat::PrinterHandle printer) override;
    plat::Error EndDocPrinter(plat::PrinterHandle printer) override;
    // The spooler's forms, whichever printer's handle is used; names compared
    // without regard to case. AddForm: 1903 for an empty name, 80 for a name
    // taken. SetForm: 1903 for an unknown name; the form keeps its name and
    // flags.
    plat::Error EnumForms(plat::PrinterHandle printer, std::vector<plat::FormInfo1>* forms) override;
    plat::Error AddForm(plat::PrinterHandle printer, const plat::FormInfo1& form) override;
    plat::Error SetForm(plat::PrinterHandle printer, std::string_view name, const plat::FormInfo1& form) override;

    plat::Error GetPrinterDriverDirectory(std::string* directory) override;
    plat::Error GetPrintProcessorDirectory(std::string* directory) override;
    // Checks: the environment is empty or known (1805), a name, driver path,
    // data file and configuration file are given (87), the driver's files
    // (the help file when given) and its dependent files are in the driver
    // directory (2). An existing driver of the name and environment is
    // replaced.
    plat::Error AddPrinterDriver(const plat::DriverInfo3& driver) override;
    // Checks: the name is a local printer's (1801: empty, or with a comma or
    // backslash), it is free (1802), the driver (1797), the port (1796) and
    // the print processor (1798) are known in the local environment. The
    // handle is left open.
    plat::Error AddPrinter(const plat::PrinterInfo2& printer, plat::PrinterHandle* handle) override;
    plat::Error GetPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info) override;
    // Counts as a GetPrinter and a SetPrinter call; with
    // kPrinterAttributeDefault the printer becomes the default one.
    plat::Error SetPrinterAttributes(plat::PrinterHandle printer, std::uint32_t attributes) override;
    // 1801 for an unknown printer.
    plat::Error SetDefaultPrinter(std::string_view name) override;
    // Checks: the environment (1805), a name and DLL given (87), the name is
    // free in any environment (3006), the DLL is in the system directory (126).
    plat::Error AddMonitor(std::string_view name, std::string_view environment, std::string_view dllName) override;
    // Checks: the environment (1805), a name and file given (87), the name is
    // free in its environment (3005), the file is in the processor directory
    // (2).
    plat::Error AddPrintProcessor(std::string_view environment, std::string_view fileName,
                           std::string_view processorName) override;
    plat::Error EnumPorts(std::vector<std::string>* portNames) override;
    plat::Error OpenPrinterAllAccess(std::string_view name, plat::PrinterHandle* printer) override;
    // The printers in the order they were added.
    plat::Error EnumPrinterNames(std::vector<std::string>* printerNames) override;
    // The printer goes, its handle stays open until closed.
    plat::Error DeletePrinter(plat::PrinterHandle printer) override;
    // 126 unless `winspoolLoads`; bound as `deleteDriverExBound` says.
    plat::Error BindDeletePrinterDriverEx(bool* bound) override;
    // 127 when not bound; 1797 for an unknown driver, 3001 while a printer
    // uses it. Every call that removed a driver is recorded.
    plat::Error DeletePrinterDriverEx(std::string_view server, std::string_view driver, std::uint32_t deleteFlags,
                               std::uint32_t version) override;
    plat::Error DeletePrinterDriver(std::string_view server, std::string_view driver) override;
    plat::Error EnumMonitorNames(std::vector<std::string>* monitorNames) override;
    // The processors of `environment`.
    plat::Error EnumPrintProcessorNames(std::string_view environment, std::vector<std::string>* processorNames) override;
    // 3000 for an unknown monitor; the monitor's key goes with it.
    plat::Error DeleteMonitor(std::string_view name) override;
    // 1798 for an unknown processor of the local environment.
    plat::Error DeletePrintProcessor(std::string_view name) override;

    // Set-up, and what tests look at; these bypass failures and handles.
    void PutPrinter(std::string_view name);
    // Jobs waiting in a printer's queue, as cJobs counts them.
    void QueueJobs(std::string_view printer, std::uint32_t count);
    bool winspoolLoads = true;
    bool deleteDriverExBound = true;
    struct DriverDeletion {
        std::string server;
        std::string driver;
        bool ex = false;  // through DeletePrinterDriverEx
        std::uint32_t flags = 0;
        std::uint32_t version = 0;
    };
    std::vector<DriverDeletion> driverDeletions;
    std::string driverDirectory = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";
    std::string processorDirectory = "C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86";
    // Where AddMonitor looks for a monitor's DLL.
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    // The environment of the running system: "Windows 4.0" on 98/Me.
    std::string localEnvironment = "Windows NT x86";
    std::vector<std::string> ports{"LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:", "FILE:"};
    // The processors every system has.
    std::vector<SimProcessor> processors{{"WinPrint", "Windows NT x86", "WINPRINT.DLL"},
                                         {"WinPrint", "Windows 4.0", "WINPRINT.DLL"}};
    std::vector<SimMonitor> monitors;
    std::vector<plat::DriverInfo3> drivers;  // environment filled in
    // The forms every system has, and those added since, in that order.
    std::vector<plat::FormInfo1> forms{{plat::kFormBuiltin, "Letter", 215900, 279400, 0, 0, 215900, 279400},
                                       {plat::kFormBuiltin, "A4", 210000, 297000, 0, 0, 210000, 297000},
                                       {plat::kFormBuiltin, "A5", 148000, 210000, 0, 0, 148000, 210000}};
    // The form named `name` (without regard to case), if any.
    const plat::FormInfo1* Form(std::string_view name) const;
    std::string defaultPrinter;
    // PRINTER_INFO_2 of a printer made by AddPrinter (or PutPrinter), if any.
    const plat::PrinterInfo2* Printer(std::string_view name) const;
    std::vector<std::string> PrinterNames() const;
    // The jobs of a printer in the order they were started; none for an
    // unknown printer.
    const std::vector<SimJob>& Jobs(std::string_view printer) const;
    std::size_t OpenHandleCount() const { return handles_.size(); }
    // The program has ended: the spooler closes the printer handles it held
    // (a document left open on one stays unfinished), and the entry point it
    // bound went with its process.
    void ProcessEnded() {
        handles_.clear();
        driverExBound_ = false;
    }

    // Makes every later `op` fail with `error` and change nothing; with
    // `after`, only once that many calls of `op` have passed.
    void Fail(SpoolerOp op, long error, int after = 0) {
        failures_[op] = FailureRule{error, after};
        calls_[op] = 0;
    }
    void ClearFailures() { failures_.clear(); }
    // Every later WritePrinter takes at most `maxBytes` bytes and reports
    // that count, as a spooler short of room does.
    void LimitWrites(std::uint32_t maxBytes) { writeLimit_ = maxBytes; }

private:
    struct Handle {
        std::string printer;       // lower-cased name
        std::uint64_t serial = 0;  // of the printer it was opened on
        bool allAccess = false;    // PRINTER_ALL_ACCESS, as DeletePrinter needs
        bool docOpen = false;
        std::size_t job = 0;  // index of the open document in its printer's jobs
        bool pageOpen = false;
    };
    // An injected failure of `op` (counting the call), or 1722 while the
    // spooler's service is stopped.
    long Failure(SpoolerOp op);
    // Only the injected failure: for work done in the caller's process. A
    // program that has died reaches the spooler no more, also with the calls
    // that do not pass through the plan (the plug-in's jobs and forms).
    long Injected(SpoolerOp op);
    long Open(std::string_view name, SpoolerOp op, bool allAccess, plat::PrinterHandle* printer);
    // The handle's state and its printer: 6 for a handle not open, then the
    // injected failure or 1722, then 1905 when its printer was deleted.
    long Using(plat::PrinterHandle printer, SpoolerOp op, Handle** handle);
    // The printer the handle was opened on, or nullptr once it was deleted.
    struct PrinterEntry;
    PrinterEntry* PrinterOf(const Handle& handle);
    long RemoveDriver(std::string_view server, std::string_view driver, bool ex, std::uint32_t flags,
                      std::uint32_t version);
    // The handle's state, or nullptr (ERROR_INVALID_HANDLE) for one not open.
    Handle* Find(plat::PrinterHandle printer);
    // The checks of every call inside a document, in the platform's order:
    // the handle, an injected failure, an open document.
    long InDocument(plat::PrinterHandle printer, SpoolerOp op, Handle** handle);
    SimJob& JobOf(const Handle& handle) { return printers_.at(handle.printer).jobs[handle.job]; }
    // Where a driver's, monitor's or processor's file named `name` lies in
    // `directory`; a name with a folder of its own stands for itself.
    static std::string FileIn(std::string_view directory, std::string_view name);
    bool FileThere(std::string_view directory, std::string_view name) const;

    struct PrinterEntry {
        plat::PrinterInfo2 info;
        std::vector<SimJob> jobs;
        // Tells a printer from a later one of the same name, and orders the
        // printers as they were added.
        std::uint64_t serial = 0;
        std::uint32_t queued = 0;  // jobs waiting besides those started here
    };
    struct FailureRule {
        long error;
        int after;
    };
    std::map<std::string, PrinterEntry> printers_;  // by lower-cased name
    std::map<plat::PrinterHandle, Handle> handles_;
    std::map<SpoolerOp, FailureRule> failures_;
    std::map<SpoolerOp, int> calls_;
    SimFiles* files_ = nullptr;
    SimRegistry* registry_ = nullptr;
    SimServices* services_ = nullptr;
    std::vector<std::string> loaded_;  // files held open until the spooler stops
    plat::PrinterHandle nextHandle_ = 0x200;
    std::uint64_t nextSerial_ = 1;
    bool driverExBound_ = false;  // by the last BindDeletePrinterDriverEx
    std::uint32_t nextJobId_ = 1;
    std::uint32_t writeLimit_ = UINT32_MAX;
};

}  // namespace sim
