#pragma once
#include "ports/spooler_admin.h"

namespace win32 {

// The spooler's administration through the A functions, which Windows 98/Me
// also has; text converted from UTF-8 to the ANSI code page and back.
class Win32SpoolerAdmin : public plat::SpoolerAdmin {
public:
    long GetPrinterDriverDirectory(std::string* directory) override;
    long GetPrintProcessorDirectory(std::string* directory) override;
    long AddPrinterDriver(const plat::DriverInfo3& driver) override;
    long AddPrinter(const plat::PrinterInfo2& printer, plat::PrinterHandle* handle) override;
    long OpenPrinter(std::string_view name, plat::PrinterHandle* printer) override;
    long ClosePrinter(plat::PrinterHandle printer) override;
    long GetPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info) override;
    long SetPrinterAttributes(plat::PrinterHandle printer, std::uint32_t attributes) override;
    long SetDefaultPrinter(std::string_view name) override;
    long AddMonitor(std::string_view name, std::string_view environment, std::string_view dllName) override;
    long AddPrintProcessor(std::string_view environment, std::string_view fileName,
                           std::string_view processorName) override;
    long EnumPorts(std::vector<std::string>* portNames) override;
};

}  // namespace win32
