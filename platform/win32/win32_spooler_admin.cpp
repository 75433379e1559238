#include "win32/win32_spooler_admin.h"

#include <windows.h>
#include <winspool.h>
// <winspool.h> maps these names to their A or W function; here they name the
// port's operations, and the A functions are called by their own names.
#undef AddMonitor
#undef AddPrinter
#undef AddPrinterDriver
#undef AddPrintProcessor
#undef DeleteMonitor
#undef DeletePrinterDriver
#undef DeletePrinterDriverEx
#undef DeletePrintProcessor
#undef EnumMonitors
#undef EnumPorts
#undef EnumPrinters
#undef EnumPrintProcessors
#undef GetPrinter
#undef GetPrinterDriverDirectory
#undef GetPrintProcessorDirectory
#undef OpenPrinter
#undef SetDefaultPrinter

#include "win32/encoding.h"
#include "win32/last_error.h"
#include "win32/scoped_win32.h"
#include "win32/system_library.h"

namespace win32 {

namespace {
HANDLE Handle(plat::PrinterHandle printer) {
    return reinterpret_cast<HANDLE>(printer);
}

// A text argument in the ANSI code page; an empty one is passed as none.
class AnsiArg {
public:
    explicit AnsiArg(std::string_view utf8) : text_(Utf8ToAnsi(utf8)), none_(utf8.empty()) {}
    char* get() { return none_ ? nullptr : text_.data(); }
    // The text itself even when empty ("" rather than none).
    char* text() { return text_.data(); }

private:
    std::string text_;
    bool none_;
};

std::string FromAnsi(const char* text) {
    return text ? AnsiToUtf8(text) : std::string();
}

// A level-1 directory query of the local server and environment.
template <typename Query>
long Directory(Query query, std::string* directory) {
    char path[MAX_PATH * 2] = {};
    DWORD needed = 0;
    if (!query(reinterpret_cast<BYTE*>(path), static_cast<DWORD>(sizeof path), &needed)) return LastErrorOfFailure();
    std::string folder(path, strnlen(path, sizeof path));
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    *directory = AnsiToUtf8(folder);
    return ERROR_SUCCESS;
}

// The spooler's size-query protocol: a first call with no buffer tells the
// size, a zero-filled global block of that size receives the data. `call`
// takes (buffer, size, &needed). On success *block holds the data.
template <typename Call>
long QueryIntoGlobal(Call call, ScopedGlobal* block) {
    DWORD needed = 0;
    // A size query that fails without a code must not pass for "give me a
    // buffer" through an error left over from an earlier call.
    SetLastError(ERROR_SUCCESS);
    if (call(nullptr, 0, &needed)) {
        // Nothing to report: an empty block.
        needed = 1;
    } else if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return LastErrorOfFailure();
    }
    if (needed == 0) return ERROR_GEN_FAILURE;
    // A list can grow between the size query and the call that fills it (a
    // printer added meanwhile): the spooler then asks for more, and gets it a
    // few times before the failure stands.
    for (int attempt = 0;; ++attempt) {
        ScopedGlobal buffer = ZeroedGlobal(needed);
        if (!buffer) return ERROR_NOT_ENOUGH_MEMORY;
        const DWORD size = needed;
        if (call(static_cast<BYTE*>(buffer.get()), size, &needed)) {
            *block = std::move(buffer);
            return ERROR_SUCCESS;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size || attempt == 2) {
            return LastErrorOfFailure();
        }
    }
}

// The names an enumeration returns, each `name` of an `Info` structure.
template <typename Info, typename Call>
long EnumNames(Call call, LPSTR Info::*name, std::vector<std::string>* names) {
    DWORD count = 0;
    ScopedGlobal block;
    const long result = QueryIntoGlobal(
        [&](BYTE* buffer, DWORD size, DWORD* needed) { return call(buffer, size, needed, &count); }, &block);
    if (result != ERROR_SUCCESS) return result;
    const auto* items = static_cast<const Info*>(block.get());
    std::vector<std::string> read;
    read.reserve(count);
    for (DWORD i = 0; i < count; ++i) read.push_back(FromAnsi(items[i].*name));
    *names = std::move(read);
    return ERROR_SUCCESS;
}

// winspool.drv is no KnownDLL: imported by name it would be looked for
// beside the program first. It is bound here once, by its full path, with
// every entry point the administration calls; a missing library or entry
// point fails each call with ERROR_PROC_NOT_FOUND.
struct WinspoolApi {
    ScopedLibrary library = LoadSystemLibrary("winspool.drv");
    Entry<decltype(&::AddMonitorA)> AddMonitorA;
    Entry<decltype(&::AddPrinterA)> AddPrinterA;
    Entry<decltype(&::AddPrinterDriverA)> AddPrinterDriverA;
    Entry<decltype(&::AddPrintProcessorA)> AddPrintProcessorA;
    Entry<decltype(&::ClosePrinter)> ClosePrinter;
    Entry<decltype(&::DeleteMonitorA)> DeleteMonitorA;
    Entry<decltype(&::DeletePrinter)> DeletePrinter;
    Entry<decltype(&::DeletePrinterDriverA)> DeletePrinterDriverA;
    Entry<decltype(&::DeletePrintProcessorA)> DeletePrintProcessorA;
    Entry<decltype(&::EnumMonitorsA)> EnumMonitorsA;
    Entry<decltype(&::EnumPortsA)> EnumPortsA;
    Entry<decltype(&::EnumPrintersA)> EnumPrintersA;
    Entry<decltype(&::EnumPrintProcessorDatatypesA)> EnumPrintProcessorDatatypesA;
    Entry<decltype(&::EnumPrintProcessorsA)> EnumPrintProcessorsA;
    Entry<decltype(&::GetPrinterA)> GetPrinterA;
    Entry<decltype(&::GetPrinterDriverDirectoryA)> GetPrinterDriverDirectoryA;
    Entry<decltype(&::GetPrintProcessorDirectoryA)> GetPrintProcessorDirectoryA;
    Entry<decltype(&::OpenPrinterA)> OpenPrinterA;
    Entry<decltype(&::SetPrinterA)> SetPrinterA;

    WinspoolApi() {
        HMODULE module = library.get();
        AddMonitorA.Bind(module, "AddMonitorA");
        AddPrinterA.Bind(module, "AddPrinterA");
        AddPrinterDriverA.Bind(module, "AddPrinterDriverA");
        AddPrintProcessorA.Bind(module, "AddPrintProcessorA");
        ClosePrinter.Bind(module, "ClosePrinter");
        DeleteMonitorA.Bind(module, "DeleteMonitorA");
        DeletePrinter.Bind(module, "DeletePrinter");
        DeletePrinterDriverA.Bind(module, "DeletePrinterDriverA");
        DeletePrintProcessorA.Bind(module, "DeletePrintProcessorA");
        EnumMonitorsA.Bind(module, "EnumMonitorsA");
        EnumPortsA.Bind(module, "EnumPortsA");
        EnumPrintersA.Bind(module, "EnumPrintersA");
        EnumPrintProcessorDatatypesA.Bind(module, "EnumPrintProcessorDatatypesA");
        EnumPrintProcessorsA.Bind(module, "EnumPrintProcessorsA");
        GetPrinterA.Bind(module, "GetPrinterA");
        GetPrinterDriverDirectoryA.Bind(module, "GetPrinterDriverDirectoryA");
        GetPrintProcessorDirectoryA.Bind(module, "GetPrintProcessorDirectoryA");
        OpenPrinterA.Bind(module, "OpenPrinterA");
        SetPrinterA.Bind(module, "SetPrinterA");
    }
};

// The process's one binding, made on first use and kept until the end.
const WinspoolApi& Spool() {
    static const WinspoolApi api;
    return api;
}

long GetPrinterInfo2(HANDLE printer, ScopedGlobal* block) {
    return QueryIntoGlobal(
        [printer](BYTE* buffer, DWORD size, DWORD* needed) {
            return Spool().GetPrinterA(printer, 2, buffer, size, needed) != FALSE;
        },
        block);
}

// The datatype a new printer is given. Windows gives a printer created
// without one the default datatype of its print processor, which is the
// first of the datatypes the processor lists, so the installer's printers
// are created with exactly that datatype, named. Wine's spooler differs in
// two ways: AddPrinter without a datatype fails with 87 and leaves a printer
// entry behind that can be neither opened nor deleted, and its processors
// list no datatypes (the enumeration fails without an error code). There, and
// only there, the printer gets "RAW", bytes passed on unchanged, the first
// datatype WinPrint lists. When the processor cannot be asked for a reason
// Windows names (an unknown processor, say), or lists nothing, no datatype is
// given and AddPrinter decides, or reports the reason in Windows' own words.
std::string DefaultDatatype(char* processor, bool* none) {
    *none = false;
    DWORD count = 0;
    ScopedGlobal block;
    const long result = QueryIntoGlobal(
        [&](BYTE* buffer, DWORD size, DWORD* sizeNeeded) {
            SetLastError(ERROR_SUCCESS);
            if (Spool().EnumPrintProcessorDatatypesA(nullptr, processor, 1, buffer, size, sizeNeeded, &count))
                return true;
            // A failure without an error code is an enumeration the spooler
            // does not implement; read it as "no list" rather than retrying.
            if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
            return false;
        },
        &block);
    if (result == ERROR_SUCCESS && count > 0) {
        const auto* types = static_cast<const DATATYPES_INFO_1A*>(block.get());
        if (types[0].pName && types[0].pName[0] != '\0') return types[0].pName;
    }
    if (result == ERROR_CALL_NOT_IMPLEMENTED) return "RAW";
    *none = true;
    return {};
}
}  // namespace

plat::Error Win32SpoolerAdmin::GetPrinterDriverDirectory(std::string* directory) {
    return Directory(
        [](BYTE* path, DWORD size, DWORD* needed) {
            return Spool().GetPrinterDriverDirectoryA(nullptr, nullptr, 1, path, size, needed) != FALSE;
        },
        directory);
}

plat::Error Win32SpoolerAdmin::GetPrintProcessorDirectory(std::string* directory) {
    return Directory(
        [](BYTE* path, DWORD size, DWORD* needed) {
            return Spool().GetPrintProcessorDirectoryA(nullptr, nullptr, 1, path, size, needed) != FALSE;
        },
        directory);
}

plat::Error Win32SpoolerAdmin::AddPrinterDriver(const plat::DriverInfo3& driver) {
    AnsiArg name(driver.name), environment(driver.environment), driverPath(driver.driverPath),
        dataFile(driver.dataFile), configFile(driver.configFile), helpFile(driver.helpFile);
    // The multi-string: every name NUL-terminated, one more NUL at the end; an
    // empty list is the lone NUL pair.
    std::string dependent;
    for (const std::string& file : driver.dependentFiles) {
        dependent += Utf8ToAnsi(file);
        dependent += '\0';
    }
    if (driver.dependentFiles.empty()) dependent += '\0';
    dependent += '\0';
    std::string monitor = driver.monitorName ? Utf8ToAnsi(*driver.monitorName) : std::string();

    DRIVER_INFO_3A info{};
    info.cVersion = driver.cVersion;
    info.pName = name.text();
    info.pEnvironment = environment.get();
    info.pDriverPath = driverPath.text();
    info.pDataFile = dataFile.text();
    info.pConfigFile = configFile.text();
    info.pHelpFile = helpFile.text();
    info.pDependentFiles = dependent.data();
    info.pMonitorName = driver.monitorName ? monitor.data() : nullptr;
    info.pDefaultDataType = nullptr;
    return Spool().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::AddPrinter(const plat::PrinterInfo2& printer, plat::PrinterHandle* handle) {
    AnsiArg name(printer.printerName), port(printer.portName), driver(printer.driverName),
        processor(printer.printProcessor);
    bool noDatatype = false;
    std::string datatype = DefaultDatatype(processor.text(), &noDatatype);

    PRINTER_INFO_2A info{};
    info.pPrinterName = name.text();
    info.pPortName = port.text();
    info.pDriverName = driver.text();
    info.pPrintProcessor = processor.text();
    info.pDatatype = noDatatype ? nullptr : datatype.data();
    info.Attributes = printer.attributes;
    SetLastError(ERROR_SUCCESS);
    HANDLE added = Spool().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!added) return LastErrorOfFailure();
    *handle = reinterpret_cast<plat::PrinterHandle>(added);
    return ERROR_SUCCESS;
}

plat::Error Win32SpoolerAdmin::OpenPrinter(std::string_view name, plat::PrinterHandle* printer) {
    std::string ansi = Utf8ToAnsi(name);
    HANDLE opened = nullptr;
    if (!Spool().OpenPrinterA(ansi.data(), &opened, nullptr)) return LastErrorOfFailure();
    *printer = reinterpret_cast<plat::PrinterHandle>(opened);
    return ERROR_SUCCESS;
}

plat::Error Win32SpoolerAdmin::OpenPrinterAllAccess(std::string_view name, plat::PrinterHandle* printer) {
    std::string ansi = Utf8ToAnsi(name);
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE opened = nullptr;
    if (!Spool().OpenPrinterA(ansi.data(), &opened, &access)) return LastErrorOfFailure();
    *printer = reinterpret_cast<plat::PrinterHandle>(opened);
    return ERROR_SUCCESS;
}

plat::Error Win32SpoolerAdmin::ClosePrinter(plat::PrinterHandle printer) {
    return Spool().ClosePrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::GetPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info) {
    ScopedGlobal block;
    const long result = GetPrinterInfo2(Handle(printer), &block);
    if (result != ERROR_SUCCESS) return result;
    const auto* read = static_cast<const PRINTER_INFO_2A*>(block.get());
    plat::PrinterInfo2 out;
    out.printerName = FromAnsi(read->pPrinterName);
    out.portName = FromAnsi(read->pPortName);
    out.driverName = FromAnsi(read->pDriverName);
    out.printProcessor = FromAnsi(read->pPrintProcessor);
    out.attributes = read->Attributes;
    out.serverName = FromAnsi(read->pServerName);
    out.jobs = read->cJobs;
    *info = std::move(out);
    return ERROR_SUCCESS;
}

plat::Error Win32SpoolerAdmin::SetPrinterAttributes(plat::PrinterHandle printer, std::uint32_t attributes) {
    ScopedGlobal block;
    const long result = GetPrinterInfo2(Handle(printer), &block);
    if (result != ERROR_SUCCESS) return result;
    // Everything else goes back as the spooler gave it, but for the security
    // descriptor: none leaves the printer's security as it is, where handing
    // it back would also ask for the right to change that security.
    auto* info = static_cast<PRINTER_INFO_2A*>(block.get());
    info->Attributes = attributes;
    info->pSecurityDescriptor = nullptr;
    return Spool().SetPrinterA(Handle(printer), 2, static_cast<BYTE*>(block.get()), 0) ? ERROR_SUCCESS
                                                                                       : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::SetDefaultPrinter(std::string_view name) {
    // Bound at run time: Windows before 2000 has no such function.
    ScopedLibrary library = LoadSystemLibrary("winspool.drv");
    if (!library) return ERROR_MOD_NOT_FOUND;
    using SetDefaultPrinterFn = BOOL(WINAPI*)(LPCSTR);
    const auto setDefault = reinterpret_cast<SetDefaultPrinterFn>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "SetDefaultPrinterA")));
    if (!setDefault) return ERROR_PROC_NOT_FOUND;
    const std::string ansi = Utf8ToAnsi(name);
    return setDefault(ansi.c_str()) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::AddMonitor(std::string_view name, std::string_view environment, std::string_view dllName) {
    AnsiArg monitor(name), env(environment), dll(dllName);
    MONITOR_INFO_2A info{};
    info.pName = monitor.text();
    info.pEnvironment = env.get();
    info.pDLLName = dll.text();
    return Spool().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::AddPrintProcessor(std::string_view environment, std::string_view fileName,
                                          std::string_view processorName) {
    AnsiArg env(environment), file(fileName), processor(processorName);
    return Spool().AddPrintProcessorA(nullptr, env.get(), file.text(), processor.text()) ? ERROR_SUCCESS
                                                                                         : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::EnumPorts(std::vector<std::string>* portNames) {
    return EnumNames<PORT_INFO_1A>(
        [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
            return Spool().EnumPortsA(nullptr, 1, buffer, size, needed, count) != FALSE;
        },
        &PORT_INFO_1A::pName, portNames);
}

plat::Error Win32SpoolerAdmin::EnumPrinterNames(std::vector<std::string>* printerNames) {
    // Level 5 carries the names without asking each printer's driver for
    // anything.
    return EnumNames<PRINTER_INFO_5A>(
        [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
            return Spool().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, buffer, size, needed, count) != FALSE;
        },
        &PRINTER_INFO_5A::pPrinterName, printerNames);
}

plat::Error Win32SpoolerAdmin::DeletePrinter(plat::PrinterHandle printer) {
    SetLastError(ERROR_SUCCESS);
    return Spool().DeletePrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

void Win32SpoolerAdmin::ModuleCloser::operator()(void* module) const {
    FreeLibrary(static_cast<HMODULE>(module));
}

plat::Error Win32SpoolerAdmin::BindDeletePrinterDriverEx(bool* bound) {
    // Windows NT 4.0 has no DeletePrinterDriverEx; where it is missing the
    // plain DeletePrinterDriver serves.
    ScopedLibrary library = LoadSystemLibrary("winspool.drv");
    if (!library) return ERROR_MOD_NOT_FOUND;
    const auto entry = reinterpret_cast<DeletePrinterDriverExFn>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "DeletePrinterDriverExA")));
    deletePrinterDriverEx_ = nullptr;
    winspool_.reset(library.release());
    deletePrinterDriverEx_ = entry;
    *bound = entry != nullptr;
    return ERROR_SUCCESS;
}

plat::Error Win32SpoolerAdmin::DeletePrinterDriverEx(std::string_view server, std::string_view driver,
                                              std::uint32_t deleteFlags, std::uint32_t version) {
    if (!deletePrinterDriverEx_) return ERROR_PROC_NOT_FOUND;
    AnsiArg serverName(server), driverName(driver);
    SetLastError(ERROR_SUCCESS);
    return deletePrinterDriverEx_(serverName.get(), nullptr, driverName.text(), deleteFlags, version)
               ? ERROR_SUCCESS
               : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::DeletePrinterDriver(std::string_view server, std::string_view driver) {
    AnsiArg serverName(server), driverName(driver);
    // Wine's spooler fails some deletions without a code; an error left over
    // from an earlier call would read as the reason (a stale 3001 as "in use").
    SetLastError(ERROR_SUCCESS);
    return Spool().DeletePrinterDriverA(serverName.get(), nullptr, driverName.text()) ? ERROR_SUCCESS
                                                                                      : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::EnumMonitorNames(std::vector<std::string>* monitorNames) {
    return EnumNames<MONITOR_INFO_1A>(
        [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
            return Spool().EnumMonitorsA(nullptr, 1, buffer, size, needed, count) != FALSE;
        },
        &MONITOR_INFO_1A::pName, monitorNames);
}

plat::Error Win32SpoolerAdmin::EnumPrintProcessorNames(std::string_view environment,
                                                std::vector<std::string>* processorNames) {
    AnsiArg env(environment);
    return EnumNames<PRINTPROCESSOR_INFO_1A>(
        [&env](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
            return Spool().EnumPrintProcessorsA(nullptr, env.get(), 1, buffer, size, needed, count) != FALSE;
        },
        &PRINTPROCESSOR_INFO_1A::pName, processorNames);
}

plat::Error Win32SpoolerAdmin::DeleteMonitor(std::string_view name) {
    AnsiArg monitor(name);
    SetLastError(ERROR_SUCCESS);
    return Spool().DeleteMonitorA(nullptr, nullptr, monitor.text()) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32SpoolerAdmin::DeletePrintProcessor(std::string_view name) {
    AnsiArg processor(name);
    SetLastError(ERROR_SUCCESS);
    return Spool().DeletePrintProcessorA(nullptr, nullptr, processor.text()) ? ERROR_SUCCESS : LastErrorOfFailure();
}

}  // namespace win32
