#include "core/serial_settings.h"

#include <cmath>

namespace setup {

std::string PortSettingsText(const SerialSettings& serial) {
    // "1.5" as it is; 1 and 2 as whole numbers, rounded as printf's "%.0f"
    // rounds (to the even one on a half).
    const std::string stopBits = serial.stopBits == 1.5
                                     ? std::string("1.5")
                                     : std::to_string(static_cast<long long>(std::nearbyint(serial.stopBits)));
    return std::to_string(serial.baudRate) + "," + serial.parity + "," + std::to_string(serial.dataBits) + "," +
           stopBits + "," + serial.flow;
}

}  // namespace setup
