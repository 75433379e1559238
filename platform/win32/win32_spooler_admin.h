#pragma once
#include "ports/spooler_admin.h"
#include "scoped_handle.h"

namespace win32 {

// The spooler's administration through the A functions, which Windows 98/Me
// also has; text converted from UTF-8 to the ANSI code page and back. This
// is all of it the uninstaller has; the installer's Win32SpoolerInstall adds
// the rest.
//
// <windows.h> stays out of this header: <winspool.h> would rename the
// operations below to their A or W functions. The library and entry point
// bound at run time are held as plain pointers.
class Win32SpoolerAdmin final : public plat::SpoolerAdmin {
public:
    Win32SpoolerAdmin() = default;
    Win32SpoolerAdmin(const Win32SpoolerAdmin&) = delete;
    Win32SpoolerAdmin& operator=(const Win32SpoolerAdmin&) = delete;

    plat::Error GetPrintProcessorDirectory(std::string* directory) override;
    plat::Error OpenPrinter(std::string_view name, plat::PrinterHandle* printer) override;
    plat::Error OpenPrinterAllAccess(std::string_view name, plat::PrinterHandle* printer) override;
    plat::Error ClosePrinter(plat::PrinterHandle printer) override;
    plat::Error GetPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info) override;
    plat::Error EnumPrinterNames(std::vector<std::string>* printerNames) override;
    plat::Error DeletePrinter(plat::PrinterHandle printer) override;
    plat::Error BindDeletePrinterDriverEx(bool* bound) override;
    plat::Error DeletePrinterDriverEx(std::string_view server, std::string_view driver, std::uint32_t deleteFlags,
                               std::uint32_t version) override;
    plat::Error DeletePrinterDriver(std::string_view server, std::string_view driver) override;
    plat::Error EnumMonitorNames(std::vector<std::string>* monitorNames) override;
    plat::Error EnumPrintProcessorNames(std::string_view environment, std::vector<std::string>* processorNames) override;
    plat::Error DeleteMonitor(std::string_view name) override;
    plat::Error DeletePrintProcessor(std::string_view name) override;

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
