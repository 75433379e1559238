#include "core/driver_key_reader.h"

#include <algorithm>
#include <array>

namespace setup {

namespace {
constexpr std::string_view kDeviceSection = "DEVICENAME";
constexpr std::size_t kNumberBuffer = 50;
// Indexed by PrinterModule, in search order.
constexpr std::array<std::string_view, kModuleCount> kModuleSuffixes{"-ReceiptPrinter", "-TicketPrinter",
                                                                     "-LabelPrinter", "-EmbeddedPrinter"};
}  // namespace

ConfigPaths MakeReaderPaths(std::string_view configFolder) {
    ConfigPaths paths;
    std::string unused;
    BuildConfigPaths(configFolder, kModuleReceipt, &paths.setupIni, &unused);
    for (int module = 0; module < kModuleCount; ++module) {
        const std::string_view name = ModuleIniNameLower(module);
        if (configFolder.size() + name.size() < kPathBuffer) {
            paths.moduleIni[module].assign(configFolder).append(name);
        }
    }
    return paths;
}

int SplitDeviceEntry(std::string_view entry, std::string* model) {
    for (int module = 0; module < kModuleCount; ++module) {
        const auto at = entry.find(kModuleSuffixes[module]);
        if (at != std::string_view::npos) {
            model->assign(entry.substr(0, at));
            return module;
        }
    }
    model->assign(entry);
    return -1;
}

int DriverKeyReader::ReadDeviceCount() {
    const int count = ReadConfigNumber(profile_, paths_.setupIni, kDeviceSection, "DEVICENUMBER", kNumberBuffer);
    return std::clamp(count, 0, kMaxDeviceEntries);
}

int DriverKeyReader::ReadDeviceEntry(int n, std::string* name) {
    const std::string key = std::string(kDeviceSection) + std::to_string(n);
    return SplitDeviceEntry(ReadConfigText(profile_, paths_.setupIni, kDeviceSection, key, kPathBuffer), name);
}

int DriverKeyReader::ReadDefaultDevice(std::string* name) {
    return ReadDeviceEntry(ReadConfigNumber(profile_, paths_.setupIni, kDeviceSection, "DEFAULTNAME", kNumberBuffer),
                           name);
}

}  // namespace setup
