#pragma once
// What Setup records under HKEY_LOCAL_MACHINE "SOFTWARE\MERIDAN\" before each
// installation on a USB port, for the package's USB port monitor and the
// uninstaller.
#include <string>
#include <string_view>
#include <vector>

#include "ports/profile.h"
#include "ports/registry.h"

namespace setup {

constexpr std::string_view kPortNameKey = "SOFTWARE\\MERIDAN\\PORTNAME\\";
constexpr std::string_view kPrinterPortKey = "SOFTWARE\\MERIDAN\\PRINTERPORT\\";
constexpr std::string_view kInstallPrinterKey = "SOFTWARE\\MERIDAN\\INSTALLPRINTER\\";

// The USB port names of setup.ini's SUPPORTED-USB-DEVICE list, in order.
std::vector<std::string> ReadUsbPortNames(plat::Profile& profile, std::string_view setupIniPath);
// A damaged PRNCOUNT must not make Setup read names for hours.
constexpr int kMaxUsbPortNames = 1000;

// The port name an INSTALLPRINTER value name stands for: "USB_", the name up
// to its first "(", "_", and the character four places after that "(" (a
// name ending in "(U) 2" gives the digit 2); "USB_" + the whole name when it
// holds no "(".
std::string PortNameOfInstalledPrinter(std::string_view valueName);

// Records the USB port `printerPort` and refreshes the records of every
// listed USB port. Nothing is reported: a key that cannot be created leaves
// its values unwritten.
void RecordUsbPort(plat::Profile& profile, plat::Registry& registry, std::string_view setupIniPath,
                   std::string_view printerPort);

}  // namespace setup
