#include "core/port_names.h"

#include "text.h"

namespace setup {

int PortKindOf(std::string_view portName) {
    if (plat::Contains(portName, "USB_")) return kPortUsb;
    if (plat::Contains(portName, "COM")) return kPortCom;
    if (plat::Contains(portName, "LPT")) return kPortLpt;
    return -1;
}

std::string PrinterNameFor(std::string_view modelName, std::string_view portName, int portKind) {
    std::string name(modelName);
    switch (portKind) {
        case kPortUsb:
            for (const char digit : {'1', '2', '3', '4'}) {
                if (plat::Contains(portName, std::string{'_', digit})) name += std::string("(U) ") + digit;
            }
            break;
        case kPortCom:
            name += "(S)";
            break;
        case kPortLpt:
            name += "(P)";
            break;
    }
    return name;
}

std::string RegisteredPortName(std::string_view portName) {
    if (portName.empty() || !plat::Contains(portName, "KTR-D9")) return {};
    return std::string("USB_KTR-D9_") + portName.back();
}

}  // namespace setup
