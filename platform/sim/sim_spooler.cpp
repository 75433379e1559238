#include "sim/sim_spooler.h"

#include <algorithm>
#include <array>

#include "sim/sim_faults.h"
#include "sim/sim_files.h"
#include "sim/sim_registry.h"
#include "sim/sim_services.h"
#include "text.h"

namespace sim {

namespace {
// The data types of the standard print processor.
constexpr std::array<std::string_view, 3> kDataTypes{"RAW", "TEXT", "NT EMF 1.008"};
// The environments a spooler knows drivers, monitors and processors of.
constexpr std::array<std::string_view, 4> kEnvironments{"Windows 4.0", "Windows NT x86", "Windows x64", "Windows IA64"};

bool KnownEnvironment(std::string_view environment) {
    return std::any_of(kEnvironments.begin(), kEnvironments.end(),
                       [&](std::string_view known) { return plat::EqualsNoCase(known, environment); });
}

bool ContainsNoCase(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return plat::EqualsNoCase(n, name); });
}

constexpr std::string_view kMonitorsKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
constexpr std::string_view kEnvironmentsKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";

constexpr long kErrorCanNotComplete = 1003;  // ERROR_CAN_NOT_COMPLETE
constexpr long kErrorPrinterDeleted = 1905;  // ERROR_PRINTER_DELETED
}  // namespace

void SimSpooler::PutPrinter(std::string_view name) {
    PrinterEntry entry;
    entry.info.printerName = std::string(name);
    entry.serial = nextSerial_;
    if (printers_.try_emplace(plat::ToLowerAscii(name), std::move(entry)).second) ++nextSerial_;
}

void SimSpooler::QueueJobs(std::string_view printer, std::uint32_t count) {
    if (auto it = printers_.find(plat::ToLowerAscii(printer)); it != printers_.end()) it->second.queued = count;
}

const plat::PrinterInfo2* SimSpooler::Printer(std::string_view name) const {
    auto it = printers_.find(plat::ToLowerAscii(name));
    return it == printers_.end() ? nullptr : &it->second.info;
}

std::vector<std::string> SimSpooler::PrinterNames() const {
    std::vector<std::string> names;
    for (const auto& [key, printer] : printers_) names.push_back(printer.info.printerName);
    return names;
}

const std::vector<SimJob>& SimSpooler::Jobs(std::string_view printer) const {
    static const std::vector<SimJob> kNone;
    auto it = printers_.find(plat::ToLowerAscii(printer));
    return it == printers_.end() ? kNone : it->second.jobs;
}

long SimSpooler::Injected(SpoolerOp op) {
    if (Dead(faults)) return kErrorRpcServerUnavailable;
    const int call = ++calls_[op];
    if (auto it = failures_.find(op); it != failures_.end() && call > it->second.after) return it->second.error;
    return plat::kErrorSuccess;
}

long SimSpooler::Failure(SpoolerOp op) {
    if (long error = Injected(op)) return error;
    // The spooler's calls are remote calls into its service: with the service
    // down (or still loading) nobody answers them.
    if (services_ && !services_->IsRunning(plat::kSpoolerService)) return kErrorRpcServerUnavailable;
    return plat::kErrorSuccess;
}

std::string SimSpooler::FileIn(std::string_view directory, std::string_view name) {
    if (name.find_first_of("\\/:") != std::string_view::npos) return std::string(name);
    return std::string(directory) + "\\" + std::string(name);
}

// Unattached, the spooler has no files to look at and takes every name.
bool SimSpooler::FileThere(std::string_view directory, std::string_view name) const {
    return !files_ || files_->Exists(FileIn(directory, name));
}

SimSpooler::Handle* SimSpooler::Find(plat::PrinterHandle printer) {
    auto it = handles_.find(printer);
    return it == handles_.end() ? nullptr : &it->second;
}

SimSpooler::PrinterEntry* SimSpooler::PrinterOf(const Handle& handle) {
    auto it = printers_.find(handle.printer);
    return it == printers_.end() || it->second.serial != handle.serial ? nullptr : &it->second;
}

long SimSpooler::Using(plat::PrinterHandle printer, SpoolerOp op, Handle** handle) {
    *handle = Find(printer);
    if (!*handle) return plat::kErrorInvalidHandle;
    if (long error = Failure(op)) return error;
    if (!PrinterOf(**handle)) return kErrorPrinterDeleted;
    return plat::kErrorSuccess;
}

long SimSpooler::Open(std::string_view name, SpoolerOp op, bool allAccess, plat::PrinterHandle* printer) {
    if (long error = Failure(op)) return error;
    auto it = printers_.find(plat::ToLowerAscii(name));
    if (it == printers_.end()) return plat::kErrorInvalidPrinterName;
    *printer = nextHandle_++;
    Handle& handle = handles_[*printer];
    handle.printer = it->first;
    handle.serial = it->second.serial;
    handle.allAccess = allAccess;
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::OpenPrinter(std::string_view name, plat::PrinterHandle* printer) {
    if (long error = Enter(faults, "Spooler.OpenPrinter", kErrorRpcServerUnavailable, name)) return error;
    return Open(name, SpoolerOp::OpenPrinter, false, printer);
}

plat::Error SimSpooler::OpenPrinterAllAccess(std::string_view name, plat::PrinterHandle* printer) {
    if (long error = Enter(faults, "Spooler.OpenPrinterAllAccess", kErrorRpcServerUnavailable, name)) return error;
    return Open(name, SpoolerOp::OpenPrinterAllAccess, true, printer);
}

// A document left open stays unfinished in its printer's jobs, so that a test
// sees nobody ended it.
plat::Error SimSpooler::ClosePrinter(plat::PrinterHandle printer) {
    if (!Find(printer)) return plat::kErrorInvalidHandle;
    // A close that reports a failure gives the handle back all the same.
    if (long error = Enter(faults, "Spooler.ClosePrinter", kErrorRpcServerUnavailable)) {
        handles_.erase(printer);
        return error;
    }
    if (long error = Failure(SpoolerOp::ClosePrinter)) return error;
    handles_.erase(printer);
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::StartDocPrinter(plat::PrinterHandle printer, std::string_view docName, std::string_view dataType,
                                 std::uint32_t* jobId) {
    Handle* handle = nullptr;
    if (long error = Using(printer, SpoolerOp::StartDocPrinter, &handle)) return error;
    // One document at a time on a handle.
    if (handle->docOpen) return plat::kErrorInvalidPrinterState;
    if (std::none_of(kDataTypes.begin(), kDataTypes.end(),
                     [&](std::string_view known) { return plat::EqualsNoCase(known, dataType); })) {
        return plat::kErrorInvalidDatatype;
    }
    std::vector<SimJob>& jobs = printers_.at(handle->printer).jobs;
    SimJob job;
    job.id = nextJobId_++;
    job.docName = std::string(docName);
    job.dataType = std::string(dataType);
    jobs.push_back(std::move(job));
    handle->docOpen = true;
    handle->job = jobs.size() - 1;
    handle->pageOpen = false;
    *jobId = jobs.back().id;
    return plat::kErrorSuccess;
}

long SimSpooler::InDocument(plat::PrinterHandle printer, SpoolerOp op, Handle** handle) {
    if (long error = Using(printer, op, handle)) return error;
    if (!(*handle)->docOpen) return plat::kErrorSplNoStartDoc;
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::StartPagePrinter(plat::PrinterHandle printer) {
    Handle* handle = nullptr;
    if (long error = InDocument(printer, SpoolerOp::StartPagePrinter, &handle)) return error;
    handle->pageOpen = true;
    ++JobOf(*handle).pagesStarted;
    return plat::kErrorSuccess;
}

// Pages are optional around the bytes of a raw document: writing needs only
// the document.
plat::Error SimSpooler::WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                              std::uint32_t* written) {
    Handle* handle = nullptr;
    if (long error = InDocument(printer, SpoolerOp::WritePrinter, &handle)) return error;
    const std::uint32_t taken = std::min(count, writeLimit_);
    std::vector<std::uint8_t>& kept = JobOf(*handle).bytes;
    if (taken > 0) kept.insert(kept.end(), bytes, bytes + taken);
    *written = taken;
    return plat::kErrorSuccess;
}

// Ending a page that was not started is accepted and changes nothing.
plat::Error SimSpooler::EndPagePrinter(plat::PrinterHandle printer) {
    Handle* handle = nullptr;
    if (long error = InDocument(printer, SpoolerOp::EndPagePrinter, &handle)) return error;
    if (handle->pageOpen) {
        handle->pageOpen = false;
        ++JobOf(*handle).pagesEnded;
    }
    return plat::kErrorSuccess;
}

// A page still open is not counted as ended: the record keeps what the caller
// did itself.
plat::Error SimSpooler::EndDocPrinter(plat::PrinterHandle printer) {
    Handle* handle = nullptr;
    if (long error = InDocument(printer, SpoolerOp::EndDocPrinter, &handle)) return error;
    JobOf(*handle).ended = true;
    handle->docOpen = false;
    handle->pageOpen = false;
    return plat::kErrorSuccess;
}

const plat::FormInfo1* SimSpooler::Form(std::string_view name) const {
    auto it = std::find_if(forms.begin(), forms.end(),
                           [&](const plat::FormInfo1& form) { return plat::EqualsNoCase(form.name, name); });
    return it == forms.end() ? nullptr : &*it;
}

plat::Error SimSpooler::EnumForms(plat::PrinterHandle printer, std::vector<plat::FormInfo1>* listed) {
    Handle* handle = nullptr;
    if (long error = Using(printer, SpoolerOp::EnumForms, &handle)) return error;
    *listed = forms;
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::AddForm(plat::PrinterHandle printer, const plat::FormInfo1& form) {
    Handle* handle = nullptr;
    if (long error = Using(printer, SpoolerOp::AddForm, &handle)) return error;
    if (form.name.empty()) return plat::kErrorInvalidFormName;
    if (Form(form.name)) return plat::kErrorFileExists;
    forms.push_back(form);
    forms.back().flags = plat::kFormUser;
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::SetForm(plat::PrinterHandle printer, std::string_view name, const plat::FormInfo1& form) {
    Handle* handle = nullptr;
    if (long error = Using(printer, SpoolerOp::SetForm, &handle)) return error;
    auto* existing = const_cast<plat::FormInfo1*>(Form(name));
    if (!existing) return plat::kErrorInvalidFormName;
    plat::FormInfo1 changed = form;
    changed.name = existing->name;
    changed.flags = existing->flags;
    *existing = changed;
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::GetPrinterDriverDirectory(std::string* directory) {
    if (long error = Enter(faults, "Spooler.GetPrinterDriverDirectory", kErrorRpcServerUnavailable)) return error;
    if (long error = Failure(SpoolerOp::GetPrinterDriverDirectory)) return error;
    *directory = driverDirectory;
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::GetPrintProcessorDirectory(std::string* directory) {
    if (long error = Enter(faults, "Spooler.GetPrintProcessorDirectory", kErrorRpcServerUnavailable)) return error;
    if (long error = Failure(SpoolerOp::GetPrintProcessorDirectory)) return error;
    *directory = processorDirectory;
    return plat::kErrorSuccess;
}

// The spooler takes a driver's files from its driver directory, where the
// installer copied them: a file that is not there ends the call with 2.
plat::Error SimSpooler::AddPrinterDriver(const plat::DriverInfo3& driver) {
    if (long error = Enter(faults, "Spooler.AddPrinterDriver", kErrorRpcServerUnavailable, driver.name)) return error;
    if (long error = Failure(SpoolerOp::AddPrinterDriver)) return error;
    const std::string environment = driver.environment.empty() ? localEnvironment : driver.environment;
    if (!KnownEnvironment(environment)) return plat::kErrorInvalidEnvironment;
    if (driver.name.empty() || driver.driverPath.empty() || driver.dataFile.empty() || driver.configFile.empty()) {
        return plat::kErrorInvalidParameter;
    }
    std::vector<std::string_view> needed{driver.driverPath, driver.dataFile, driver.configFile};
    if (!driver.helpFile.empty()) needed.push_back(driver.helpFile);
    for (const std::string& file : driver.dependentFiles) needed.push_back(file);
    for (std::string_view file : needed) {
        if (!FileThere(driverDirectory, file)) return plat::kErrorFileNotFound;
    }

    plat::DriverInfo3 added = driver;
    added.environment = environment;
    auto same = std::find_if(drivers.begin(), drivers.end(), [&](const plat::DriverInfo3& d) {
        return plat::EqualsNoCase(d.name, added.name) && plat::EqualsNoCase(d.environment, added.environment);
    });
    if (same != drivers.end()) {
        *same = std::move(added);
    } else {
        drivers.push_back(std::move(added));
    }
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::AddPrinter(const plat::PrinterInfo2& printer, plat::PrinterHandle* handle) {
    if (long error = Enter(faults, "Spooler.AddPrinter", kErrorRpcServerUnavailable, printer.portName)) return error;
    if (long error = Failure(SpoolerOp::AddPrinter)) return error;
    // A comma parts the fields of the profile's device entries and a
    // backslash starts a server's name: neither belongs in a local printer's
    // name.
    if (printer.printerName.empty() || printer.printerName.find_first_of(",\\") != std::string::npos) {
        return plat::kErrorInvalidPrinterName;
    }
    const std::string key = plat::ToLowerAscii(printer.printerName);
    if (printers_.contains(key)) return plat::kErrorPrinterAlreadyExists;
    const bool driverKnown = std::any_of(drivers.begin(), drivers.end(), [&](const plat::DriverInfo3& d) {
        return plat::EqualsNoCase(d.name, printer.driverName) && plat::EqualsNoCase(d.environment, localEnvironment);
    });
    if (!driverKnown) return plat::kErrorUnknownPrinterDriver;
    if (!ContainsNoCase(ports, printer.portName)) return kErrorUnknownPort;
    const bool processorKnown = std::any_of(processors.begin(), processors.end(), [&](const SimProcessor& p) {
        return plat::EqualsNoCase(p.name, printer.printProcessor) &&
               plat::EqualsNoCase(p.environment, localEnvironment);
    });
    if (!processorKnown) return plat::kErrorUnknownPrintProcessor;

    PrinterEntry& added = printers_[key];
    added.info = printer;
    // What the spooler fills in itself: the local server has no name, a new
    // printer no jobs.
    added.info.serverName.clear();
    added.info.jobs = 0;
    added.serial = nextSerial_++;
    // AddPrinter's handle carries every right, as PRINTER_ALL_ACCESS does.
    *handle = nextHandle_++;
    handles_[*handle] = Handle{key, added.serial, true};
    return plat::kErrorSuccess;
}

// cJobs counts the jobs waiting in the queue and those still being written.
plat::Error SimSpooler::GetPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info) {
    if (long error = Enter(faults, "Spooler.GetPrinter", kErrorRpcServerUnavailable)) return error;
    Handle* handle = nullptr;
    if (long error = Using(printer, SpoolerOp::GetPrinter, &handle)) return error;
    const PrinterEntry& entry = *PrinterOf(*handle);
    plat::PrinterInfo2 read = entry.info;
    read.jobs = entry.queued + static_cast<std::uint32_t>(std::count_if(entry.jobs.begin(), entry.jobs.end(),
                                                                        [](const SimJob& job) { return !job.ended; }));
    *info = std::move(read);
    return plat::kErrorSuccess;
}

// Setting PRINTER_ATTRIBUTE_DEFAULT makes the printer the default one, as
// SetPrinter does on the platform.
plat::Error SimSpooler::SetPrinterAttributes(plat::PrinterHandle printer, std::uint32_t attributes) {
    if (long error = Enter(faults, "Spooler.SetPrinterAttributes", kErrorRpcServerUnavailable)) return error;
    Handle* handle = nullptr;
    if (long error = Using(printer, SpoolerOp::GetPrinter, &handle)) return error;
    if (long error = Failure(SpoolerOp::SetPrinter)) return error;
    plat::PrinterInfo2& info = PrinterOf(*handle)->info;
    info.attributes = attributes;
    if (attributes & plat::kPrinterAttributeDefault) defaultPrinter = info.printerName;
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::SetDefaultPrinter(std::string_view name) {
    if (long error = Enter(faults, "Spooler.SetDefaultPrinter", kErrorRpcServerUnavailable, name)) return error;
    if (long error = Failure(SpoolerOp::SetDefaultPrinter)) return error;
    const plat::PrinterInfo2* printer = Printer(name);
    if (!printer) return plat::kErrorInvalidPrinterName;
    defaultPrinter = printer->printerName;
    return plat::kErrorSuccess;
}

// The spooler loads the monitor's DLL from the system directory at once: a
// DLL that is not there fails as LoadLibrary does, with 126.
plat::Error SimSpooler::AddMonitor(std::string_view name, std::string_view environment, std::string_view dllName) {
    if (long error = Enter(faults, "Spooler.AddMonitor", kErrorRpcServerUnavailable, name)) return error;
    if (long error = Failure(SpoolerOp::AddMonitor)) return error;
    const std::string env = environment.empty() ? localEnvironment : std::string(environment);
    if (!KnownEnvironment(env)) return plat::kErrorInvalidEnvironment;
    if (name.empty() || dllName.empty()) return plat::kErrorInvalidParameter;
    if (std::any_of(monitors.begin(), monitors.end(),
                    [&](const SimMonitor& m) { return plat::EqualsNoCase(m.name, name); })) {
        return plat::kErrorPrintMonitorAlreadyInstalled;
    }
    if (!FileThere(systemDirectory, dllName)) return plat::kErrorModNotFound;
    monitors.push_back({std::string(name), env, std::string(dllName)});
    if (registry_) {
        registry_->PutString(plat::RootKey::LocalMachine, std::string(kMonitorsKey) + std::string(name), "Driver",
                             dllName);
    }
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::AddPrintProcessor(std::string_view environment, std::string_view fileName,
                                   std::string_view processorName) {
    if (long error = Enter(faults, "Spooler.AddPrintProcessor", kErrorRpcServerUnavailable, processorName))
        return error;
    if (long error = Failure(SpoolerOp::AddPrintProcessor)) return error;
    const std::string env = environment.empty() ? localEnvironment : std::string(environment);
    if (!KnownEnvironment(env)) return plat::kErrorInvalidEnvironment;
    if (processorName.empty() || fileName.empty()) return plat::kErrorInvalidParameter;
    if (std::any_of(processors.begin(), processors.end(), [&](const SimProcessor& p) {
            return plat::EqualsNoCase(p.name, processorName) && plat::EqualsNoCase(p.environment, env);
        })) {
        return plat::kErrorPrintProcessorAlreadyInstalled;
    }
    if (!FileThere(processorDirectory, fileName)) return plat::kErrorFileNotFound;
    processors.push_back({std::string(processorName), env, std::string(fileName)});
    if (registry_) {
        registry_->PutString(plat::RootKey::LocalMachine,
                             std::string(kEnvironmentsKey) + env + "\\Print Processors\\" + std::string(processorName),
                             "Driver", fileName);
    }
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::EnumPorts(std::vector<std::string>* portNames) {
    if (long error = Enter(faults, "Spooler.EnumPorts", kErrorRpcServerUnavailable)) return error;
    if (long error = Failure(SpoolerOp::EnumPorts)) return error;
    *portNames = ports;
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::EnumPrinterNames(std::vector<std::string>* printerNames) {
    if (long error = Enter(faults, "Spooler.EnumPrinters", kErrorRpcServerUnavailable)) return error;
    if (long error = Failure(SpoolerOp::EnumPrinters)) return error;
    std::vector<const PrinterEntry*> entries;
    for (const auto& [key, entry] : printers_) entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(),
              [](const PrinterEntry* a, const PrinterEntry* b) { return a->serial < b->serial; });
    std::vector<std::string> names;
    for (const PrinterEntry* entry : entries) names.push_back(entry->info.printerName);
    *printerNames = std::move(names);
    return plat::kErrorSuccess;
}

// The printer leaves the spooler at once (jobs and all) where Windows would
// keep it pending deletion until its jobs are done; the handle stays open for
// ClosePrinter and answers 1905 to everything else.
plat::Error SimSpooler::DeletePrinter(plat::PrinterHandle printer) {
    if (long error = Enter(faults, "Spooler.DeletePrinter", kErrorRpcServerUnavailable)) return error;
    Handle* handle = nullptr;
    if (long error = Using(printer, SpoolerOp::DeletePrinter, &handle)) return error;
    if (!handle->allAccess) return plat::kErrorAccessDenied;
    auto it = printers_.find(handle->printer);
    if (plat::EqualsNoCase(defaultPrinter, it->second.info.printerName)) defaultPrinter.clear();
    printers_.erase(it);
    return plat::kErrorSuccess;
}

// Loading a library and looking up an entry point happen in the caller's
// process: a stopped spooler does not stop them.
plat::Error SimSpooler::BindDeletePrinterDriverEx(bool* bound) {
    if (long error = Enter(faults, "Spooler.BindDeletePrinterDriverEx", plat::kErrorModNotFound)) return error;
    driverExBound_ = false;
    if (long error = Injected(SpoolerOp::BindDeletePrinterDriverEx)) return error;
    if (!winspoolLoads) return plat::kErrorModNotFound;
    driverExBound_ = deleteDriverExBound;
    *bound = driverExBound_;
    return plat::kErrorSuccess;
}

// Without an entry point nothing reaches the spooler: the call is not counted.
plat::Error SimSpooler::DeletePrinterDriverEx(std::string_view server, std::string_view driver, std::uint32_t deleteFlags,
                                       std::uint32_t version) {
    if (long error = Enter(faults, "Spooler.DeletePrinterDriverEx", kErrorRpcServerUnavailable, driver)) return error;
    if (!driverExBound_) return plat::kErrorProcNotFound;
    if (long error = Failure(SpoolerOp::DeletePrinterDriverEx)) return error;
    return RemoveDriver(server, driver, true, deleteFlags, version);
}

plat::Error SimSpooler::DeletePrinterDriver(std::string_view server, std::string_view driver) {
    if (long error = Enter(faults, "Spooler.DeletePrinterDriver", kErrorRpcServerUnavailable, driver)) return error;
    if (long error = Failure(SpoolerOp::DeletePrinterDriver)) return error;
    return RemoveDriver(server, driver, false, 0, 0);
}

// Only the local server is simulated: another server's name finds no print
// provider that knows it, which the router answers as an unknown printer name.
// The driver's files stay where they are.
long SimSpooler::RemoveDriver(std::string_view server, std::string_view driver, bool ex, std::uint32_t flags,
                              std::uint32_t version) {
    if (!server.empty()) return plat::kErrorInvalidPrinterName;
    auto it = std::find_if(drivers.begin(), drivers.end(), [&](const plat::DriverInfo3& d) {
        return plat::EqualsNoCase(d.name, driver) && plat::EqualsNoCase(d.environment, localEnvironment);
    });
    if (it == drivers.end()) return plat::kErrorUnknownPrinterDriver;
    if (std::any_of(printers_.begin(), printers_.end(),
                    [&](const auto& entry) { return plat::EqualsNoCase(entry.second.info.driverName, driver); })) {
        return plat::kErrorPrinterDriverInUse;
    }
    drivers.erase(it);
    driverDeletions.push_back({std::string(server), std::string(driver), ex, flags, version});
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::EnumMonitorNames(std::vector<std::string>* monitorNames) {
    if (long error = Enter(faults, "Spooler.EnumMonitors", kErrorRpcServerUnavailable)) return error;
    if (long error = Failure(SpoolerOp::EnumMonitors)) return error;
    std::vector<std::string> names;
    for (const SimMonitor& monitor : monitors) names.push_back(monitor.name);
    *monitorNames = std::move(names);
    return plat::kErrorSuccess;
}

plat::Error SimSpooler::EnumPrintProcessorNames(std::string_view environment, std::vector<std::string>* processorNames) {
    if (long error = Enter(faults, "Spooler.EnumPrintProcessors", kErrorRpcServerUnavailable)) return error;
    if (long error = Failure(SpoolerOp::EnumPrintProcessors)) return error;
    const std::string env = environment.empty() ? localEnvironment : std::string(environment);
    if (!KnownEnvironment(env)) return plat::kErrorInvalidEnvironment;
    std::vector<std::string> names;
    for (const SimProcessor& processor : processors) {
        if (plat::EqualsNoCase(processor.environment, env)) names.push_back(processor.name);
    }
    *processorNames = std::move(names);
    return plat::kErrorSuccess;
}

// Which ports a monitor serves is not simulated, so a monitor is never in use
// here (3008): a test that needs that answer injects it.
plat::Error SimSpooler::DeleteMonitor(std::string_view name) {
    if (long error = Enter(faults, "Spooler.DeleteMonitor", kErrorRpcServerUnavailable, name)) return error;
    if (long error = Failure(SpoolerOp::DeleteMonitor)) return error;
    auto it = std::find_if(monitors.begin(), monitors.end(),
                           [&](const SimMonitor& m) { return plat::EqualsNoCase(m.name, name); });
    if (it == monitors.end()) return plat::kErrorUnknownPrintMonitor;
    if (registry_) registry_->RemoveKey(plat::RootKey::LocalMachine, std::string(kMonitorsKey) + it->name);
    monitors.erase(it);
    return plat::kErrorSuccess;
}

// A processor that a printer still prints through cannot go (1003). Its file
// stays in the processor directory, and the spooler keeps it loaded until it
// stops: until then it cannot be deleted or written over (5).
plat::Error SimSpooler::DeletePrintProcessor(std::string_view name) {
    if (long error = Enter(faults, "Spooler.DeletePrintProcessor", kErrorRpcServerUnavailable, name)) return error;
    if (long error = Failure(SpoolerOp::DeletePrintProcessor)) return error;
    auto it = std::find_if(processors.begin(), processors.end(), [&](const SimProcessor& p) {
        return plat::EqualsNoCase(p.name, name) && plat::EqualsNoCase(p.environment, localEnvironment);
    });
    if (it == processors.end()) return plat::kErrorUnknownPrintProcessor;
    if (std::any_of(printers_.begin(), printers_.end(),
                    [&](const auto& entry) { return plat::EqualsNoCase(entry.second.info.printProcessor, name); })) {
        return kErrorCanNotComplete;
    }
    if (registry_) {
        registry_->RemoveKey(plat::RootKey::LocalMachine,
                             std::string(kEnvironmentsKey) + it->environment + "\\Print Processors\\" + it->name);
    }
    if (files_) {
        const std::string file = FileIn(processorDirectory, it->fileName);
        files_->HoldOpen(file, plat::kErrorAccessDenied);
        loaded_.push_back(file);
    }
    processors.erase(it);
    return plat::kErrorSuccess;
}

void SimSpooler::Unloaded() {
    if (files_) {
        for (const std::string& file : loaded_) files_->Release(file);
    }
    loaded_.clear();
}

}  // namespace sim
