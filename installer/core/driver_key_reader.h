#pragma once
// Reads the package's device list and, per installation, the driver, printer,
// monitor and processor descriptions from the configuration files.
#include <array>
#include <string>
#include <string_view>

#include "core/config_files.h"
#include "ports/profile.h"

namespace setup {

// The five full paths the reader works with.
struct ConfigPaths {
    std::string setupIni;
    std::array<std::string, kModuleCount> moduleIni;  // by PrinterModule
};

// Paths for a package in `configFolder`, with the lower-case module file names.
// Paths that would not fit their 200-character buffers are left empty.
ConfigPaths MakeReaderPaths(std::string_view configFolder);

// The module of a device entry and its model name. The suffixes are searched in
// the order receipt, ticket, label, embedded; the first that occurs anywhere in
// the entry decides, and the model is the text before its first occurrence.
// Returns the PrinterModule, or -1 (model left as the whole entry) when none occurs.
int SplitDeviceEntry(std::string_view entry, std::string* model);

class DriverKeyReader {
public:
    DriverKeyReader(plat::Profile& profile, ConfigPaths paths) : profile_(profile), paths_(std::move(paths)) {}

    // DEVICENUMBER of the device list, within 0..kMaxDeviceEntries: a damaged
    // count must not keep the wizard reading entries for hours.
    int ReadDeviceCount();
    static constexpr int kMaxDeviceEntries = 1000;
    // Entry n (DEVICENAME + n) cut at its module suffix into `name`; the
    // PrinterModule, or -1 when the entry carries no suffix.
    int ReadDeviceEntry(int n, std::string* name);
    // The entry that DEFAULTNAME points at.
    int ReadDefaultDevice(std::string* name);

    const ConfigPaths& paths() const { return paths_; }

private:
    plat::Profile& profile_;
    ConfigPaths paths_;
};

}  // namespace setup
