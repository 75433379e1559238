#include "core/printer_registration.h"

#include <string>

#include "core/setup_text.h"
#include "scoped_printer.h"

namespace setup {

namespace {
plat::Error TryAddPrinter(InstallSession& session, const plat::PrinterInfo2& printer) {
    plat::ScopedPrinter handle = plat::OwnedPrinter(session.io.spooler);
    return session.io.spooler.AddPrinter(printer, handle.receive());
}

void AddPrinterFailed(InstallSession& session, long error) {
    session.resultMessage = std::string(SetupString(IDS_ADD_PRINTER_FAILED)) + "er = " + std::to_string(error);
}
}  // namespace

bool AddDriver(InstallSession& session, const plat::DriverInfo3& driver) {
    const long error = session.io.spooler.AddPrinterDriver(driver);
    if (error == plat::kErrorSuccess) return true;
    session.resultMessage = std::string(SetupString(IDS_ADD_DRIVER_FAILED)) + "   er = " + std::to_string(error);
    return false;
}

bool AddPrinterUniqueName(InstallSession& session, plat::PrinterInfo2* printer, bool usbPort) {
    long error = TryAddPrinter(session, *printer);
    if (error == plat::kErrorSuccess) return true;
    if (error != plat::kErrorPrinterAlreadyExists) {
        AddPrinterFailed(session, error);
        return false;
    }
    if (!usbPort) {
        const std::string base = printer->printerName;
        for (int number = 1; number <= kMaxNameRetries; ++number) {
            plat::PrinterInfo2 attempt = *printer;
            attempt.printerName = base + "(" + std::to_string(number) + ")";
            error = TryAddPrinter(session, attempt);
            if (error == plat::kErrorSuccess) {
                printer->printerName = attempt.printerName;
                return true;
            }
            if (error != plat::kErrorPrinterAlreadyExists) {
                AddPrinterFailed(session, error);
                return false;
            }
        }
    }
    session.resultMessage = SetupString(IDS_PRINTER_LIMIT);
    return false;
}

bool SetDefaultPrinterByName(InstallSession& session, std::string_view name) {
    const plat::OsVersion version = session.io.system.GetVersion();
    plat::SpoolerInstall& spooler = session.io.spooler;
    if (version.platformId == plat::kPlatformNt && version.major >= 5) {
        if (spooler.SetDefaultPrinter(name) != plat::kErrorSuccess) return false;
        session.io.desktop.BroadcastSettingChange("", false);
        return true;
    }
    plat::ScopedPrinter handle = plat::OwnedPrinter(spooler);
    plat::PrinterInfo2 info;
    if (spooler.OpenPrinter(name, handle.receive()) != plat::kErrorSuccess ||
        spooler.GetPrinter(handle.get(), &info) != plat::kErrorSuccess) {
        return false;
    }
    if (version.platformId == plat::kPlatformWindows) {
        if (spooler.SetPrinterAttributes(handle.get(), info.attributes | plat::kPrinterAttributeDefault) !=
            plat::kErrorSuccess) {
            return false;
        }
        session.io.desktop.BroadcastSettingChange("windows", false);
        return true;
    }
    // NT 4.0 keeps the default printer in the system profile.
    if (!session.io.profile.WriteProfileString("windows", "device",
                                               info.printerName + "," + info.driverName + "," + info.portName)) {
        return false;
    }
    session.io.desktop.BroadcastSettingChange("", false);
    return true;
}

}  // namespace setup
