#include "core/usb_port_record.h"

#include <algorithm>

#include "core/config_files.h"
#include "registry_key.h"

namespace setup {

namespace {
constexpr std::string_view kUsbSection = "SUPPORTED-USB-DEVICE";
constexpr std::size_t kValueNameBuffer = 200;
constexpr std::uint32_t kNewPortValue = 255;

// Opens `subKey` of HKEY_LOCAL_MACHINE, creating it when missing.
bool OpenOrCreate(plat::RegistryKey& key, plat::Registry& registry, std::string_view subKey) {
    return plat::RegistryKey::CreateKey(registry, plat::RootKey::LocalMachine, subKey) &&
           key.Open(plat::RootKey::LocalMachine, subKey);
}

void SetPortIndex(plat::RegistryKey& portNames, const std::vector<std::string>& listed, std::string_view port) {
    const auto it = std::find(listed.begin(), listed.end(), port);
    if (it != listed.end()) (void)portNames.WriteDword(port, static_cast<std::uint32_t>(it - listed.begin()));
}
}  // namespace

std::vector<std::string> ReadUsbPortNames(plat::Profile& profile, std::string_view setupIniPath) {
    const int count =
        std::clamp(ReadConfigNumber(profile, setupIniPath, kUsbSection, "PRNCOUNT", kPathBuffer), 0, kMaxUsbPortNames);
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k) {
        names.push_back(ReadConfigText(profile, setupIniPath, kUsbSection, std::to_string(k), kPathBuffer));
    }
    return names;
}

std::string PortNameOfInstalledPrinter(std::string_view valueName) {
    const std::size_t open = valueName.find('(');
    if (open == std::string_view::npos) return "USB_" + std::string(valueName);
    std::string port = "USB_" + std::string(valueName.substr(0, open)) + "_";
    // A name cut short after its "(" has no port digit; nothing is read past it.
    if (open + 4 < valueName.size()) port += valueName[open + 4];
    return port;
}

void RecordUsbPort(plat::Profile& profile, plat::Registry& registry, std::string_view setupIniPath,
                   std::string_view printerPort) {
    const std::vector<std::string> listed = ReadUsbPortNames(profile, setupIniPath);

    plat::RegistryKey portNames(registry);
    const bool portNamesOpen = OpenOrCreate(portNames, registry, kPortNameKey);
    if (portNamesOpen) SetPortIndex(portNames, listed, printerPort);

    plat::RegistryKey printerPorts(registry);
    if (OpenOrCreate(printerPorts, registry, kPrinterPortKey)) {
        for (int d = 1; d <= 8; ++d) (void)printerPorts.WriteDword("D" + std::to_string(d), 0);
        for (const std::string& name : listed) {
            std::uint32_t existing = 0;
            if (!printerPorts.ReadDword(name, &existing)) (void)printerPorts.WriteDword(name, kNewPortValue);
        }
    }

    plat::RegistryKey installed(registry);
    if (!portNamesOpen || !installed.Open(plat::RootKey::LocalMachine, kInstallPrinterKey)) return;
    std::string valueName;
    for (std::uint32_t index = 0; installed.EnumValueName(index, kValueNameBuffer, &valueName); ++index) {
        SetPortIndex(portNames, listed, PortNameOfInstalledPrinter(valueName));
    }
}

}  // namespace setup
