#include "core/config_files.h"

#include <array>

#include "core/os_code.h"
#include "text.h"

namespace setup {

namespace {
constexpr std::array<std::string_view, kModuleCount> kModuleNames{
    "DRVCONFIG\\setup_receipt.ini", "DRVCONFIG\\setup_Ticket.ini", "DRVCONFIG\\setup_Lable.ini",
    "DRVCONFIG\\setup_Embedded.ini"};
constexpr std::array<std::string_view, kModuleCount> kModuleNamesLower{
    "DRVCONFIG\\setup_receipt.ini", "DRVCONFIG\\setup_ticket.ini", "DRVCONFIG\\setup_lable.ini",
    "DRVCONFIG\\setup_embedded.ini"};
constexpr std::string_view kDefault = "0";

bool JoinPath(std::string_view folder, std::string_view name, std::string* path) {
    if (folder.size() + name.size() > kPathBuffer - 1) return false;
    path->assign(folder).append(name);
    return true;
}
}  // namespace

std::string_view ModuleIniName(int module) {
    return module >= 0 && module < kModuleCount ? kModuleNames[module] : std::string_view{};
}

std::string_view ModuleIniNameLower(int module) {
    return module >= 0 && module < kModuleCount ? kModuleNamesLower[module] : std::string_view{};
}

std::string ConfigFolder(std::string_view executablePath) {
    const auto slash = executablePath.rfind('\\');
    if (slash == std::string_view::npos) return {};
    return std::string(executablePath.substr(0, slash + 1));
}

bool BuildConfigPaths(std::string_view configFolder, int module, std::string* setupIniPath,
                      std::string* moduleIniPath) {
    setupIniPath->clear();
    moduleIniPath->clear();
    const bool setupFits = JoinPath(configFolder, kSetupIniName, setupIniPath);
    const bool moduleFits = JoinPath(configFolder, ModuleIniName(module), moduleIniPath);
    return setupFits && moduleFits;
}

std::string ReadConfigText(plat::Profile& profile, std::string_view path, std::string_view section,
                           std::string_view key, std::size_t bufferSize) {
    return profile.GetString(path, section, key, kDefault, bufferSize);
}

int ReadConfigNumber(plat::Profile& profile, std::string_view path, std::string_view section, std::string_view key,
                     std::size_t bufferSize) {
    return plat::AsciiToInt(ReadConfigText(profile, path, section, key, bufferSize));
}

long ReadConfigLong(plat::Profile& profile, std::string_view path, std::string_view section, std::string_view key,
                    std::size_t bufferSize) {
    return plat::AsciiToLong(ReadConfigText(profile, path, section, key, bufferSize));
}

bool ReadConfigFlag(plat::Profile& profile, std::string_view path, std::string_view section, std::string_view key,
                    std::size_t bufferSize) {
    return ReadConfigNumber(profile, path, section, key, bufferSize) != 0;
}

int ReadModelPortNumber(plat::Profile& profile, std::string_view moduleIniPath, std::string_view model,
                        std::string_view key) {
    std::string section;
    if (!MakeSectionName(model, "PORT", &section)) return 0;
    return ReadConfigNumber(profile, moduleIniPath, section, key, kPathBuffer);
}

}  // namespace setup
