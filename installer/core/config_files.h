#pragma once
// Where the package's configuration files are and how their values read.
#include <string>
#include <string_view>

#include "core/printer_module.h"
#include "ports/profile.h"

namespace setup {

// Full paths live in 200-character buffers: at most 199 characters.
constexpr std::size_t kPathBuffer = 200;

constexpr std::string_view kSetupIniName = "DRVCONFIG\\setup.ini";
// The module files as the wizard names them, by PrinterModule.
std::string_view ModuleIniName(int module);
// The same files as the driver reader names them (all lower case); the
// platform compares file names without regard to case.
std::string_view ModuleIniNameLower(int module);

// The running installer's folder: its path up to and including the last
// backslash, or empty when the path holds none.
std::string ConfigFolder(std::string_view executablePath);

// Fills setupIniPath with folder + "DRVCONFIG\setup.ini" and moduleIniPath
// with folder + the module file (the folder alone for a module outside 0..3).
// Both are cleared first. A path that would not fit its 200-character buffer
// is left empty and the result is false: reading a cut path would quietly
// read another file.
bool BuildConfigPaths(std::string_view configFolder, int module, std::string* setupIniPath, std::string* moduleIniPath);

// Every configuration value is text read with the default "0".
std::string ReadConfigText(plat::Profile& profile, std::string_view path, std::string_view section,
                           std::string_view key, std::size_t bufferSize);
// Decimal values convert as atoi does: text that is not a number gives 0.
int ReadConfigNumber(plat::Profile& profile, std::string_view path, std::string_view section, std::string_view key,
                     std::size_t bufferSize);
// ATTRIBUTES converts with atol.
long ReadConfigLong(plat::Profile& profile, std::string_view path, std::string_view section, std::string_view key,
                    std::size_t bufferSize);
// A flag is set when its value converts to a nonzero number.
bool ReadConfigFlag(plat::Profile& profile, std::string_view path, std::string_view section, std::string_view key,
                    std::size_t bufferSize);

// The ".PORT" keys of a model in its module file (buffers of 200).
int ReadModelPortNumber(plat::Profile& profile, std::string_view moduleIniPath, std::string_view model,
                        std::string_view key);

}  // namespace setup
