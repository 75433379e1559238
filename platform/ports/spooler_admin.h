#pragma once
// The print spooler as the installer and the uninstaller use it: its
// directories, printer drivers, printers, port monitors, print processors,
// ports and the default printer, added (by the installer only), listed and
// deleted. Results are Win32 error codes (0 success); outputs are
// written only on success. An empty environment stands for none (the local one).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/errors.h"
#include "ports/spooler.h"

namespace plat {

constexpr long kErrorNotEnoughMemory = 8;           // ERROR_NOT_ENOUGH_MEMORY
constexpr long kErrorModNotFound = 126;             // ERROR_MOD_NOT_FOUND
constexpr long kErrorProcNotFound = 127;            // ERROR_PROC_NOT_FOUND
constexpr long kErrorUnknownPrinterDriver = 1797;   // ERROR_UNKNOWN_PRINTER_DRIVER
constexpr long kErrorUnknownPrintProcessor = 1798;  // ERROR_UNKNOWN_PRINTPROCESSOR
constexpr long kErrorInvalidEnvironment = 1805;     // ERROR_INVALID_ENVIRONMENT
constexpr long kErrorPrinterAlreadyExists = 1802;   // ERROR_PRINTER_ALREADY_EXISTS
constexpr long kErrorUnknownPrintMonitor = 3000;    // ERROR_UNKNOWN_PRINT_MONITOR
constexpr long kErrorPrinterDriverInUse = 3001;     // ERROR_PRINTER_DRIVER_IN_USE
constexpr long kErrorPrintProcessorAlreadyInstalled = 3005;
constexpr long kErrorPrintMonitorAlreadyInstalled = 3006;
constexpr long kErrorPrintMonitorInUse = 3008;
constexpr long kErrorCanNotComplete = 1003;  // ERROR_CAN_NOT_COMPLETE

// PRINTER_ATTRIBUTE_DEFAULT of PRINTER_INFO_2.Attributes.
constexpr std::uint32_t kPrinterAttributeDefault = 0x4;

// The environment of Windows 98/Me drivers, monitors and processors.
constexpr std::string_view kEnvironmentWin9x = "Windows 4.0";
// The environment of the NT family's: the 32-bit "Windows NT x86" the
// programs are made for. Only the x86_64 twin build, which stands in for
// them under a Wine without 32-bit support, looks in the spooler's own
// environment there.
#if defined(_WIN64)
constexpr std::string_view kEnvironmentNt = "Windows x64";
#else
constexpr std::string_view kEnvironmentNt = "Windows NT x86";
#endif

// DRIVER_INFO_3 as the installer fills it. File names are bare names of files
// already copied into the printer-driver directory.
struct DriverInfo3 {
    std::uint32_t cVersion = 0;
    std::string name;
    std::string environment;  // empty: none, the local environment
    std::string driverPath;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
    // The parts of the pDependentFiles multi-string; none gives the lone
    // terminating NUL pair.
    std::vector<std::string> dependentFiles;
    // pMonitorName: none (a null pointer) differs from an empty text.
    std::optional<std::string> monitorName;
    // pDefaultDataType is always none.
};

// The fields of PRINTER_INFO_2 the programs give or read; every other field
// is empty or 0 when a printer is added.
struct PrinterInfo2 {
    std::string printerName;
    std::string portName;
    std::string driverName;
    std::string printProcessor;
    std::uint32_t attributes = 0;
    // Read only: pServerName (empty for the local server) and cJobs.
    std::string serverName;
    std::uint32_t jobs = 0;
};

// DPD_DELETE_UNUSED_FILES of DeletePrinterDriverEx.
constexpr std::uint32_t kDeleteUnusedFiles = 0x1;

// What both programs do to the spooler: find and read its printers,
// drivers, monitors and processors, and delete them. The uninstaller needs
// nothing more, and its adapter carries nothing more.
class SpoolerAdmin {
public:
    virtual ~SpoolerAdmin() = default;

    // GetPrintProcessorDirectory, level 1, of the local server and
    // environment, without a trailing backslash.
    virtual Error GetPrintProcessorDirectory(std::string* directory) = 0;

    // OpenPrinter with the default access, and ClosePrinter.
    virtual Error OpenPrinter(std::string_view name, PrinterHandle* printer) = 0;
    // OpenPrinter with PRINTER_ALL_ACCESS.
    virtual Error OpenPrinterAllAccess(std::string_view name, PrinterHandle* printer) = 0;
    virtual Error ClosePrinter(PrinterHandle printer) = 0;
    // GetPrinter, level 2 (size query, then a zero-initialised buffer).
    virtual Error GetPrinter(PrinterHandle printer, PrinterInfo2* info) = 0;

    // EnumPrinters(PRINTER_ENUM_LOCAL), level 5 (a size query, then a
    // zero-initialised buffer): the local printers' names, in the spooler's order.
    virtual Error EnumPrinterNames(std::vector<std::string>* printerNames) = 0;
    // DeletePrinter through a handle of OpenPrinterAllAccess.
    virtual Error DeletePrinter(PrinterHandle printer) = 0;
    // Loads the system directory's winspool.drv by full path and binds
    // DeletePrinterDriverExA by name: 126 when the library cannot be loaded;
    // `bound` tells whether it has the entry point.
    virtual Error BindDeletePrinterDriverEx(bool* bound) = 0;
    // The bound DeletePrinterDriverExA in the default environment (127 when
    // it is not bound), and DeletePrinterDriver; `server` empty for the
    // local one.
    virtual Error DeletePrinterDriverEx(std::string_view server, std::string_view driver, std::uint32_t deleteFlags,
                                       std::uint32_t version) = 0;
    virtual Error DeletePrinterDriver(std::string_view server, std::string_view driver) = 0;

    // EnumMonitors, level 1, and EnumPrintProcessors of `environment`, level 1:
    // the names.
    virtual Error EnumMonitorNames(std::vector<std::string>* monitorNames) = 0;
    virtual Error EnumPrintProcessorNames(std::string_view environment, std::vector<std::string>* processorNames) = 0;
    // DeleteMonitor and DeletePrintProcessor on the local server, default
    // environment.
    virtual Error DeleteMonitor(std::string_view name) = 0;
    virtual Error DeletePrintProcessor(std::string_view name) = 0;
};

// What the installation does besides: add drivers, printers, monitors and
// processors, list the ports and choose the default printer.
class SpoolerInstall : public SpoolerAdmin {
public:
    // GetPrinterDriverDirectory, level 1, of the local server and
    // environment, without a trailing backslash.
    virtual Error GetPrinterDriverDirectory(std::string* directory) = 0;

    // AddPrinterDriver, level 3, on the local server.
    virtual Error AddPrinterDriver(const DriverInfo3& driver) = 0;
    // AddPrinter, level 2, on the local server; the handle must be closed.
    virtual Error AddPrinter(const PrinterInfo2& printer, PrinterHandle* handle) = 0;
    // GetPrinter then SetPrinter, level 2, with only Attributes replaced.
    virtual Error SetPrinterAttributes(PrinterHandle printer, std::uint32_t attributes) = 0;
    // SetDefaultPrinterA, bound by name in the system directory's
    // winspool.drv: 126 when the library cannot be loaded, 127 when it has no
    // such entry point.
    virtual Error SetDefaultPrinter(std::string_view name) = 0;

    // AddMonitor, level 2: the monitor DLL is a bare name in the system directory.
    virtual Error AddMonitor(std::string_view name, std::string_view environment, std::string_view dllName) = 0;
    // AddPrintProcessor: the file is a bare name in the print-processor directory.
    virtual Error AddPrintProcessor(std::string_view environment, std::string_view fileName,
                                   std::string_view processorName) = 0;
    // EnumPorts, level 1: a size query, then a zero-initialised buffer of that
    // size; 8 when that buffer cannot be had.
    virtual Error EnumPorts(std::vector<std::string>* portNames) = 0;
};

}  // namespace plat
