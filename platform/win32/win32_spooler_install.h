#pragma once
#include "win32/win32_spooler_admin.h"

namespace win32 {

// The spooler as the installation works on it: what Win32SpoolerAdmin does
// (the same calls, made by it), and what only the installation adds.
//
// <windows.h> stays out of this header, as out of Win32SpoolerAdmin's.
class Win32SpoolerInstall final : public plat::SpoolerInstall {
public:
    plat::Error GetPrintProcessorDirectory(std::string* directory) override {
        return admin_.GetPrintProcessorDirectory(directory);
    }
    plat::Error OpenPrinter(std::string_view name, plat::PrinterHandle* printer) override {
        return admin_.OpenPrinter(name, printer);
    }
    plat::Error OpenPrinterAllAccess(std::string_view name, plat::PrinterHandle* printer) override {
        return admin_.OpenPrinterAllAccess(name, printer);
    }
    plat::Error ClosePrinter(plat::PrinterHandle printer) override { return admin_.ClosePrinter(printer); }
    plat::Error GetPrinter(plat::PrinterHandle printer, plat::PrinterInfo2* info) override {
        return admin_.GetPrinter(printer, info);
    }
    plat::Error EnumPrinterNames(std::vector<std::string>* printerNames) override {
        return admin_.EnumPrinterNames(printerNames);
    }
    plat::Error DeletePrinter(plat::PrinterHandle printer) override { return admin_.DeletePrinter(printer); }
    plat::Error BindDeletePrinterDriverEx(bool* bound) override { return admin_.BindDeletePrinterDriverEx(bound); }
    plat::Error DeletePrinterDriverEx(std::string_view server, std::string_view driver, std::uint32_t deleteFlags,
                                      std::uint32_t version) override {
        return admin_.DeletePrinterDriverEx(server, driver, deleteFlags, version);
    }
    plat::Error DeletePrinterDriver(std::string_view server, std::string_view driver) override {
        return admin_.DeletePrinterDriver(server, driver);
    }
    plat::Error EnumMonitorNames(std::vector<std::string>* monitorNames) override {
        return admin_.EnumMonitorNames(monitorNames);
    }
    plat::Error EnumPrintProcessorNames(std::string_view environment,
                                        std::vector<std::string>* processorNames) override {
        return admin_.EnumPrintProcessorNames(environment, processorNames);
    }
    plat::Error DeleteMonitor(std::string_view name) override { return admin_.DeleteMonitor(name); }
    plat::Error DeletePrintProcessor(std::string_view name) override { return admin_.DeletePrintProcessor(name); }

    plat::Error GetPrinterDriverDirectory(std::string* directory) override;
    plat::Error AddPrinterDriver(const plat::DriverInfo3& driver) override;
    plat::Error AddPrinter(const plat::PrinterInfo2& printer, plat::PrinterHandle* handle) override;
    plat::Error SetPrinterAttributes(plat::PrinterHandle printer, std::uint32_t attributes) override;
    plat::Error SetDefaultPrinter(std::string_view name) override;
    plat::Error AddMonitor(std::string_view name, std::string_view environment, std::string_view dllName) override;
    plat::Error AddPrintProcessor(std::string_view environment, std::string_view fileName,
                                  std::string_view processorName) override;
    plat::Error EnumPorts(std::vector<std::string>* portNames) override;

private:
    Win32SpoolerAdmin admin_;
};

}  // namespace win32
