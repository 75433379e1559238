#pragma once
// Reads the package's device list and, per installation, the driver, printer,
// monitor and processor descriptions from the configuration files.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/config_files.h"
#include "core/os_code.h"
#include "ports/profile.h"
#include "ports/spooler_admin.h"

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

// Which driver of the package an installation reads: the module file, the
// model section's base name, the target system (OsCode) and the key set
// (RasterGraphicMode: 0 "STD", 1 "GDI").
struct DriverSelection {
    int module = 0;
    std::string model;
    OsCode target = OsCode::kWin98Me;
    int rasterGraphic = 0;
};

// The files of one driver by slot, as read: "0" (the default) means none.
struct DriverFileSet {
    std::string driverPath;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
    std::string processorFile;
    std::string dataFileLibrary;
    std::string renderingPlugin;
    std::string pluginConfig;
    std::string uiPlugin;
    std::string controlFont;
};

struct MonitorDescription {
    std::string name;
    std::string dllName;
    std::string uiDllName;  // none for the language monitor
    std::uint32_t version = 0;
};

// The package's two port monitors and its USB language monitor for one
// system. A language monitor none of whose keys is present is not
// configured: empty name and file, version 0.
struct MonitorDescriptions {
    MonitorDescription com;
    MonitorDescription usb;
    MonitorDescription language;
};

// The printer's print processor: its name (the printer description's),
// its file (the print-processor file slot) and the package's version of it.
struct ProcessorDescription {
    std::string name;
    std::string file;
    std::uint32_t version = 0;
};

// The dependent-file list with its terminators fits 200 bytes.
constexpr std::size_t kDependentFilesBytes = 200;

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

    // The driver's files from the model section (normal suffix).
    DriverFileSet ReadDriverFileSet(const DriverSelection& driver);
    // The DRIVER_INFO_3 of the driver: version and environment by target,
    // name and files from the model section, the dependent files when the
    // section's GDI2KDDKDEV is set on targets 2..7. False when the dependent
    // list would not fit its 200 bytes (a cut list would register a driver
    // without some of its files).
    bool ReadDriverDescription(const DriverSelection& driver, plat::DriverInfo3* description);
    // The printer's driver name, print processor and attributes from the
    // model section under the alternate suffix; name and port are the
    // caller's.
    plat::PrinterInfo2 ReadPrinterDescription(const DriverSelection& driver);
    // The monitors for `target`: from setup.ini's "COMMON-MONITOR" sections
    // (port monitors under the alternate suffix, the language monitor under
    // the normal one); a section setup.ini does not have is read from the
    // module file instead, so packages laid out either way install.
    MonitorDescriptions ReadMonitorDescriptions(int module, OsCode target);
    // DriverVersion of setup.ini's ProcessorVersion section, 0 when absent.
    std::uint32_t ReadProcessorVersion();
    // STD2KDDKDEV or GDI2KDDKDEV by key set: the driver is built on the
    // Unidrv core when the value begins with '1'.
    bool ReadDdkFlag(const DriverSelection& driver);

    const ConfigPaths& paths() const { return paths_; }

private:
    const std::string& ModulePath(int module) const;
    plat::Profile& profile_;
    ConfigPaths paths_;
};

}  // namespace setup
