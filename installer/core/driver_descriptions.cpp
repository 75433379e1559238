// The per-installation reads of the DriverKeyReader: which key of the model
// section fills which slot of the driver, printer, monitor and processor
// descriptions.
#include <string>

#include "core/driver_key_reader.h"
#include "core/os_code.h"
#include "text.h"

namespace setup {

namespace {
constexpr std::size_t kNameBuffer = 50;     // driver, printer and monitor names
constexpr std::size_t kVersionBuffer = 10;  // monitor versions
constexpr std::size_t kNumberBuffer = 50;   // ATTRIBUTES, the processor version
constexpr std::size_t kFlagBuffer = 10;     // the DDK flags
constexpr std::string_view kMonitorSection = "COMMON-MONITOR";

std::string KeySet(int rasterGraphic) {
    return rasterGraphic == 1 ? "GDI" : "STD";
}

std::string Section(std::string_view base, std::string_view suffix) {
    std::string section;
    (void)MakeSectionName(base, suffix, &section);
    return section;
}

// A slot names a file unless it is empty or the "none" value (it begins with '0').
bool NamesFile(std::string_view slot) {
    return !slot.empty() && slot.front() != '0';
}

// Whether `path` holds `key` in `section` at all: read with a default no
// value of the file can give.
bool HasKey(plat::Profile& profile, std::string_view path, std::string_view section, std::string_view key) {
    return !profile.GetString(path, section, key, "", kNameBuffer).empty();
}
}  // namespace

const std::string& DriverKeyReader::ModulePath(int module) const {
    static const std::string kNone;
    return module >= 0 && module < kModuleCount ? paths_.moduleIni[module] : kNone;
}

DriverFileSet DriverKeyReader::ReadDriverFileSet(const DriverSelection& driver) {
    const std::string& path = ModulePath(driver.module);
    const std::string section = Section(driver.model, SectionSuffix(driver.target));
    const std::string set = KeySet(driver.rasterGraphic);
    auto slot = [&](std::string_view key) {
        return ReadConfigText(profile_, path, section, set + std::string(key), kPathBuffer);
    };
    DriverFileSet files;
    files.driverPath = slot("DriverPath");
    files.dataFile = slot("DataFile");
    files.configFile = slot("ConfigFile");
    files.helpFile = slot("HelpFile");
    files.processorFile = slot("ProcessorDLLName");
    files.dataFileLibrary = slot("DataFileDLLName");
    files.renderingPlugin = slot("DataOemuniDLL");
    files.pluginConfig = slot("DataOemuniini");
    files.uiPlugin = slot("DataOemuiDLL");
    files.controlFont = ReadConfigText(profile_, path, section, "ControlFontFile", kPathBuffer);
    return files;
}

bool DriverKeyReader::ReadDriverDescription(const DriverSelection& driver, plat::DriverInfo3* description) {
    const std::string& path = ModulePath(driver.module);
    const std::string section = Section(driver.model, SectionSuffix(driver.target));
    const DriverFileSet files = ReadDriverFileSet(driver);

    plat::DriverInfo3 info;
    info.cVersion = driver.target == OsCode::kWin98Me ? 0 : driver.target == OsCode::kNt4 ? 2 : 3;
    info.name = ReadConfigText(profile_, path, section, KeySet(driver.rasterGraphic) + "DriverName", kNameBuffer);
    if (driver.target == OsCode::kWin98Me) info.environment = plat::kEnvironmentWin9x;
    info.driverPath = files.driverPath;
    info.dataFile = files.dataFile;
    info.configFile = files.configFile;
    info.helpFile = files.helpFile;

    // The Unidrv core joins the dependent files only for drivers built on it
    // and only where the NT driver model has them (2000 and later).
    const bool unidrvCore = ReadConfigNumber(profile_, path, section, "GDI2KDDKDEV", kFlagBuffer) != 0;
    if (unidrvCore && FromWindows2000(driver.target)) {
        info.dependentFiles = {files.dataFile, "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD"};
        for (const std::string* optional :
             {&files.dataFileLibrary, &files.uiPlugin, &files.renderingPlugin, &files.pluginConfig}) {
            if (NamesFile(*optional)) info.dependentFiles.push_back(*optional);
        }
        std::size_t bytes = 1;  // the list's own terminator
        for (const std::string& name : info.dependentFiles) bytes += name.size() + 1;
        if (bytes > kDependentFilesBytes) return false;
    }
    *description = std::move(info);
    return true;
}

plat::PrinterInfo2 DriverKeyReader::ReadPrinterDescription(const DriverSelection& driver) {
    const std::string& path = ModulePath(driver.module);
    const std::string section = Section(driver.model, AlternateSectionSuffix(driver.target));
    const std::string set = KeySet(driver.rasterGraphic);
    plat::PrinterInfo2 printer;
    printer.driverName = ReadConfigText(profile_, path, section, set + "DRIVERNAME", kNameBuffer);
    printer.printProcessor = ReadConfigText(profile_, path, section, set + "PrintProcessor", kNameBuffer);
    printer.attributes =
        static_cast<std::uint32_t>(ReadConfigLong(profile_, path, section, "ATTRIBUTES", kNumberBuffer));
    return printer;
}

MonitorDescriptions DriverKeyReader::ReadMonitorDescriptions(int module, OsCode target) {
    const std::string portSection = Section(kMonitorSection, AlternateSectionSuffix(target));
    const std::string languageSection = Section(kMonitorSection, SectionSuffix(target));
    const std::string& setupIni = paths_.setupIni;
    const std::string& portFile = HasKey(profile_, setupIni, portSection, "COMMONitorPName") ||
                                          HasKey(profile_, setupIni, portSection, "USBMONitorPName")
                                      ? setupIni
                                      : ModulePath(module);
    const std::string& languageFile = HasKey(profile_, setupIni, languageSection, "USBLMONitorName") ||
                                              HasKey(profile_, setupIni, languageSection, "USBLMONitorDLLName") ||
                                              HasKey(profile_, setupIni, languageSection, "USBLMONitorVersion")
                                          ? setupIni
                                          : ModulePath(module);

    auto port = [&](std::string_view prefix) {
        const std::string p(prefix);
        MonitorDescription monitor;
        monitor.name = ReadConfigText(profile_, portFile, portSection, p + "PName", kNameBuffer);
        monitor.dllName = ReadConfigText(profile_, portFile, portSection, p + "PDLLName", kPathBuffer);
        monitor.uiDllName = ReadConfigText(profile_, portFile, portSection, p + "PUIDLLName", kNameBuffer);
        monitor.version = static_cast<std::uint32_t>(
            ReadConfigNumber(profile_, portFile, portSection, p + "Version", kVersionBuffer));
        return monitor;
    };
    MonitorDescriptions monitors;
    monitors.com = port("COMMONitor");
    monitors.usb = port("USBMONitor");

    MonitorDescription& language = monitors.language;
    language.name = ReadConfigText(profile_, languageFile, languageSection, "USBLMONitorName", kNameBuffer);
    language.dllName = ReadConfigText(profile_, languageFile, languageSection, "USBLMONitorDLLName", kPathBuffer);
    const std::string version =
        ReadConfigText(profile_, languageFile, languageSection, "USBLMONitorVersion", kVersionBuffer);
    // All three back as one character: the "0" defaults of absent keys.
    if (language.name.size() == 1 && language.dllName.size() == 1 && version.size() == 1) {
        language = MonitorDescription{};
    } else {
        language.version = static_cast<std::uint32_t>(plat::AsciiToInt(version));
    }
    return monitors;
}

std::uint32_t DriverKeyReader::ReadProcessorVersion() {
    return static_cast<std::uint32_t>(
        ReadConfigNumber(profile_, paths_.setupIni, "ProcessorVersion", "DriverVersion", kNumberBuffer));
}

bool DriverKeyReader::ReadDdkFlag(const DriverSelection& driver) {
    const std::string& path = ModulePath(driver.module);
    const std::string section = Section(driver.model, SectionSuffix(driver.target));
    const std::string value =
        ReadConfigText(profile_, path, section, KeySet(driver.rasterGraphic) + "2KDDKDEV", kFlagBuffer);
    return !value.empty() && value.front() == '1';
}

}  // namespace setup
