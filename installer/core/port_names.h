#pragma once
// What a port name decides: the kind of port, the printer's name suffix, and
// the port name recorded for a USB printer.
#include <string>
#include <string_view>

namespace setup {

enum PortKind : int { kPortCom = 0, kPortLpt = 1, kPortUsb = 2 };

// Tested in this order: "USB_" (USB), "COM" (serial, so "MDCOM3:" is serial),
// "LPT" (parallel); -1 for any other name.
int PortKindOf(std::string_view portName);

// The model name with the port's suffix: "(U) 1" .. "(U) 4" for each of "_1"
// .. "_4" a USB port name holds, "(S)" serial, "(P)" parallel.
std::string PrinterNameFor(std::string_view modelName, std::string_view portName, int portKind);

// The port recorded for a USB printer of the KTR-D9 family: "USB_KTR-D9_"
// and the last character of the port name; empty for any other port.
std::string RegisteredPortName(std::string_view portName);

}  // namespace setup
