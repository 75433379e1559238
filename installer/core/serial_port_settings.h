#pragma once
// The serial settings of a COM port stored where the system reads them: a
// REG_SZ value on the NT family; on Windows 98/Me the port's DCB record in
// its class key and the settings text in the system profile.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/install_session.h"
#include "core/serial_settings.h"

namespace setup {

// The settings' port key: the port name from "COM" on ("MDCOM3:" gives
// "COM3:"); empty when the name holds no "COM".
std::string SerialPortKey(std::string_view portName);

// The 28-byte DCB record of the settings, as the platform lays it out (all
// members 0 but those the settings decide).
using DcbRecord = std::array<std::uint8_t, 28>;
DcbRecord SerialDcb(const SerialSettings& serial);

// Stores the settings of `portName` for `target`; false when some of them
// could not be stored (the printer then works with the port's previous
// settings, and the installation goes on).
bool WriteSerialSettings(InstallSession& session, std::string_view portName, SerialSettings serial);

constexpr std::string_view kNtPortsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
constexpr int kWin9xPortClassKeys = 4;

}  // namespace setup
