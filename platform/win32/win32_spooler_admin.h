#pragma once
#include "ports/spooler_admin.h"
#include "scoped_handle.h"

namespace win32 {

// The spooler's administration through the A functions, which Windows 98/Me
// also has; text converted from UTF-8 to the ANSI code page and back.
//
// <windows.h> stays out of this header: <winspool.h> would rename the
// operations below to their A or W functions. The library and entry point
// bound at run time are held as plain pointers.
class Win32SpoolerAdmin : public plat::SpoolerAdmin {
public:
    Win32SpoolerAdmin() = default;
    Win32SpoolerAdmin(const Win32SpoolerAdmin&) = delete;
    Win32SpoolerAdmin& operator=(const Win32SpoolerAdmin&) = delete;

    long GetPrinterDriverDirectory(std::string* directory) override;
    long GetPrintProcessorDirectory(std::string* directory) override;
    long AddPrinterDriver(const plat::DriverInfo3& driver) override;
    long AddPrinter(const plat::PrinterInfo2& printer, plat::PrinterHandle* handle) override;
    long OpenPrinter(std::string_view name, plat::PrinterHandle* printer) override;
    long OpenPrinterAllAccess(std::string_view name, plat::PrinterHandle* printer) override;
    long ClosePrinter(plat::PrinterHandle printer) override;
    long GetPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info) override;
    long SetPrinterAttributes(plat::PrinterHandle printer, std::uint32_t attributes) override;
    long SetDefaultPrinter(std::string_view name) override;
    long EnumPrinterNames(std::vector<std::string>* printerNames) override;
    long DeletePrinter(plat::PrinterHandle printer) override;
    long BindDeletePrinterDriverEx(bool* bound) override;
    long DeletePrinterDriverEx(std::string_view server, std::string_view driver, std::uint32_t deleteFlags,
                               std::uint32_t version) override;
    long DeletePrinterDriver(std::string_view server, std::string_view driver) override;
    long AddMonitor(std::string_view name, std::string_view environment, std::string_view dllName) override;
    long AddPrintProcessor(std::string_view environment, std::string_view fileName,
                           std::string_view processorName) override;
    long EnumPorts(std::vector<std::string>* portNames) override;
    long EnumMonitorNames(std::vector<std::string>* monitorNames) override;
    long EnumPrintProcessorNames(std::string_view environment, std::vector<std::string>* processorNames) override;
    long DeleteMonitor(std::string_view name) override;
    long DeletePrintProcessor(std::string_view name) override;

    // DeletePrinterDriverExA as winspool.drv exports it.
    using DeletePrinterDriverExFn = int(__stdcall*)(char* server, char* environment, char* driver,
                                                    unsigned long deleteFlag, unsigned long versionFlag);

private:
    // FreeLibrary, out of line for the reason above.
    struct ModuleCloser {
        void operator()(void* module) const;
    };
    // winspool.drv stays loaded while the bound entry point may be called.
    plat::ScopedHandle<void*, ModuleCloser> winspool_;
    DeletePrinterDriverExFn deletePrinterDriverEx_ = nullptr;
};

}  // namespace win32
