// Arbitrary device entries: the module decision and the model name must hold
// together whatever the package file says.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/config_files.h"
#include "core/driver_key_reader.h"
#include "core/os_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string entry(reinterpret_cast<const char*>(data), size);
    std::string model;
    const int module = setup::SplitDeviceEntry(entry, &model);
    if (module < -1 || module >= setup::kModuleCount) __builtin_trap();
    if (module == -1 && model != entry) __builtin_trap();
    if (module >= 0 && entry.compare(0, model.size(), model) != 0) __builtin_trap();

    std::string section;
    for (int code = -1; code <= setup::kOsCodeCount; ++code) {
        if (setup::MakeSectionName(model, setup::SectionSuffix(static_cast<setup::OsCode>(code)), &section) &&
            section.size() > setup::kMaxSectionName) {
            __builtin_trap();
        }
    }
    std::string setupIni, moduleIni;
    if (setup::BuildConfigPaths(entry, module, &setupIni, &moduleIni) &&
        (setupIni.size() >= setup::kPathBuffer || moduleIni.size() >= setup::kPathBuffer)) {
        __builtin_trap();
    }
    return 0;
}
