#pragma once
// The serial settings of a COM port as the port page holds them, and their
// text form as the port's settings are stored.
#include <string>

namespace setup {

struct SerialSettings {
    int baudRate = 0;
    int dataBits = 8;
    double stopBits = 1;
    char parity = 'n';  // e, m, n, o, s
    char flow = 'p';    // x Xon/Xoff, p hardware, blank none
};

// "baud,parity,data,stop,flow": "9600,o,7,1.5,x", "19200,n,8,1,p". Stop bits
// show one decimal only when they are 1.5.
std::string PortSettingsText(const SerialSettings& serial);

}  // namespace setup
