#include "win32/win32_spooler_admin.h"

#include "win32/spooler_calls.h"
#include "win32/system_library.h"

namespace win32 {

using namespace spooler_calls;

namespace {

// winspool.drv is no KnownDLL: imported by name it would be looked for
// beside the program first. It is bound here once, by its full path, with
// every entry point the reading and the removal call; a missing library or
// entry point fails each call with ERROR_PROC_NOT_FOUND. The installation's
// own entry points are bound beside its adapter (win32_spooler_install.cpp).
struct WinspoolApi {
    ScopedLibrary library = LoadSystemLibrary("winspool.drv");
    Entry<decltype(&::ClosePrinter)> ClosePrinter;
    Entry<decltype(&::DeleteMonitorA)> DeleteMonitorA;
    Entry<decltype(&::DeletePrinter)> DeletePrinter;
    Entry<decltype(&::DeletePrinterDriverA)> DeletePrinterDriverA;
    Entry<decltype(&::DeletePrintProcessorA)> DeletePrintProcessorA;
    Entry<decltype(&::EnumMonitorsA)> EnumMonitorsA;
    Entry<decltype(&::EnumPrintersA)> EnumPrintersA;
    Entry<decltype(&::EnumPrintProcessorsA)> EnumPrintProcessorsA;
    Entry<decltype(&::GetPrinterA)> GetPrinterA;
    Entry<decltype(&::GetPrintProcessorDirectoryA)> GetPrintProcessorDirectoryA;
    Entry<decltype(&::OpenPrinterA)> OpenPrinterA;

    WinspoolApi() {
        HMODULE module = library.get();
        ClosePrinter.Bind(module, "ClosePrinter");
        DeleteMonitorA.Bind(module, "DeleteMonitorA");
        DeletePrinter.Bind(module, "DeletePrinter");
        DeletePrinterDriverA.Bind(module, "DeletePrinterDriverA");
        DeletePrintProcessorA.Bind(module, "DeletePrintProcessorA");
        EnumMonitorsA.Bind(module, "EnumMonitorsA");
        EnumPrintersA.Bind(module, "EnumPrintersA");
        EnumPrintProcessorsA.Bind(module, "EnumPrintProcessorsA");
        GetPrinterA.Bind(module, "GetPrinterA");
        GetPrintProcessorDirectoryA.Bind(module, "GetPrintProcessorDirectoryA");
        OpenPrinterA.Bind(module, "OpenPrinterA");
    }
};

// The process's one binding, made on first use and kept until the end.
const WinspoolApi& Spool() {
    static const WinspoolApi api;
    return api;
}

}  // namespace

plat::Error Win32SpoolerAdmin::GetPrintProcessorDirectory(std::string* directory) {
    return Directory(
        [](BYTE* path, DWORD size, DWORD* needed) {
            return Spool().GetPrintProcessorDirectoryA(nullptr, nullptr, 1, path, size, needed) != FALSE;
        },
        directory);
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
    const long result = GetPrinterInfo2(Spool().GetPrinterA, Handle(printer), &block);
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
