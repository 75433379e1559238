#include "core/serial_port_settings.h"

#include <cctype>

#include "core/os_code.h"
#include "registry_key.h"

namespace setup {

namespace {
// DCB bit fields of its third member.
constexpr std::uint32_t kBinary = 1u << 0;
constexpr std::uint32_t kParity = 1u << 1;
constexpr std::uint32_t kOutxCtsFlow = 1u << 2;
constexpr std::uint32_t kOutX = 1u << 8;
constexpr std::uint32_t kInX = 1u << 9;
constexpr std::uint32_t kErrorChar = 1u << 10;
constexpr std::uint32_t kRtsControlEnable = 1u << 12;
// Byte offsets of the other members.
constexpr std::size_t kBaudRateAt = 4, kFlagsAt = 8, kByteSizeAt = 18, kParityAt = 19, kStopBitsAt = 20,
                      kXonCharAt = 21, kXoffCharAt = 22;
constexpr char kXon = 17, kXoff = 19;

void PutDword(DcbRecord& dcb, std::size_t at, std::uint32_t value) {
    for (int byte = 0; byte < 4; ++byte) dcb[at + byte] = static_cast<std::uint8_t>(value >> (8 * byte));
}

std::uint8_t ParityCode(char parity) {
    switch (parity) {
        case 'o':
            return 1;  // ODDPARITY
        case 'e':
            return 2;  // EVENPARITY
        case 'm':
            return 3;  // MARKPARITY
        case 's':
            return 4;  // SPACEPARITY
        default:
            return 0;  // NOPARITY
    }
}

std::uint8_t StopBitsCode(double stopBits) {
    if (stopBits == 1.5) return 1;  // ONE5STOPBITS
    if (stopBits == 2) return 2;    // TWOSTOPBITS
    return 0;                       // ONESTOPBIT
}

// Windows 98/Me: the DCB goes into the class key of the port's position
// among the serial ports (PortSubClass 1; a parallel port's is 0). False when
// it was not stored, for want of the key or because the write failed.
bool WriteWin9xDcb(plat::Registry& registry, int portNumber, const DcbRecord& dcb) {
    int serialPorts = 0;
    for (int index = 0; index < kWin9xPortClassKeys; ++index) {
        plat::RegistryKey key(registry);
        if (!key.Open(plat::RootKey::LocalMachine,
                      "System\\CurrentControlSet\\Services\\Class\\Ports\\000" + std::to_string(index))) {
            continue;
        }
        plat::RegistryValue subClass;
        if (!key.ReadData("PortSubClass", 16, &subClass) || subClass.data.empty() || subClass.data[0] != 1) continue;
        if (++serialPorts == portNumber) {
            return key.WriteData("DCB", plat::kRegNone, std::vector<std::uint8_t>(dcb.begin(), dcb.end()));
        }
    }
    return false;
}
}  // namespace

std::string SerialPortKey(std::string_view portName) {
    const std::size_t at = portName.find("COM");
    return at == std::string_view::npos ? std::string() : std::string(portName.substr(at));
}

DcbRecord SerialDcb(const SerialSettings& serial) {
    DcbRecord dcb{};
    PutDword(dcb, 0, static_cast<std::uint32_t>(dcb.size()));
    PutDword(dcb, kBaudRateAt, static_cast<std::uint32_t>(serial.baudRate));
    std::uint32_t flags = kBinary;
    const std::uint8_t parity = ParityCode(serial.parity);
    if (parity != 0) flags |= kParity | kErrorChar;
    if (serial.flow == 'p') flags |= kOutxCtsFlow | kRtsControlEnable;
    if (serial.flow == 'x') {
        flags |= kOutX | kInX;
        dcb[kXonCharAt] = kXon;
        dcb[kXoffCharAt] = kXoff;
    }
    PutDword(dcb, kFlagsAt, flags);
    dcb[kByteSizeAt] = static_cast<std::uint8_t>(serial.dataBits);
    dcb[kParityAt] = parity;
    dcb[kStopBitsAt] = StopBitsCode(serial.stopBits);
    return dcb;
}

bool WriteSerialSettings(InstallSession& session, std::string_view portName, SerialSettings serial) {
    const std::string portKey = SerialPortKey(portName);
    if (portKey.empty()) return false;
    serial.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(serial.parity)));
    const std::string text = PortSettingsText(serial);

    if (session.target != OsCode::kWin98Me) {
        plat::RegistryKey ports(session.io.registry);
        return ports.Open(plat::RootKey::LocalMachine, kNtPortsKey) && ports.WriteString(portKey, text);
    }
    // Only the first two serial ports have a DCB of their own.
    const char digit = portKey.size() > 3 ? portKey[3] : '\0';
    bool stored = true;
    if (digit == '1' || digit == '2') stored = WriteWin9xDcb(session.io.registry, digit - '0', SerialDcb(serial));
    stored = session.io.profile.WriteProfileString("Ports", portKey, text) && stored;
    session.io.desktop.BroadcastSettingChange("Ports", true);
    // The flush's answer tells nothing about the settings written above.
    (void)session.io.profile.FlushProfile();
    return stored;
}

}  // namespace setup
