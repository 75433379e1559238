#include "core/serial_settings.h"

#include <cstdio>

namespace setup {

std::string PortSettingsText(const SerialSettings& serial) {
    const char* format = serial.stopBits == 1.5 ? "%d,%c,%d,%.1f,%c" : "%d,%c,%d,%.0f,%c";
    char text[64];
    std::snprintf(text, sizeof text, format, serial.baudRate, serial.parity, serial.dataBits, serial.stopBits,
                  serial.flow);
    return text;
}

}  // namespace setup
