#pragma once
// The driver and the printer registered with the spooler, and the default
// printer set.
#include <string_view>

#include "core/install_session.h"

namespace setup {

// AddPrinterDriver, level 3; a failure's message and code into the result.
bool AddDriver(InstallSession& session, const plat::DriverInfo3& driver);

// AddPrinter under the description's name; when a printer of that name
// exists on a parallel or serial port, under the name followed by "(1)" ..
// "(98)", the first that is free. The description's name is then the name
// created. A USB port takes no second printer of the same name.
bool AddPrinterUniqueName(InstallSession& session, plat::PrinterInfo2* printer, bool usbPort);
constexpr int kMaxNameRetries = 98;

// Makes the printer the default one the way the running Windows does it;
// false when that failed (the installation goes on).
bool SetDefaultPrinterByName(InstallSession& session, std::string_view name);

}  // namespace setup
