#pragma once
#include "ports/registry.h"

namespace win32 {

// The registry through the A functions; names and string data converted
// between UTF-8 and the ANSI code page.
class Win32Registry : public plat::Registry {
public:
    plat::Error OpenKey(plat::RootKey root, std::string_view subKey, plat::KeyHandle* key) override;
    plat::Error CreateKey(plat::RootKey root, std::string_view subKey, plat::KeyHandle* key) override;
    plat::Error CloseKey(plat::KeyHandle key) override;
    plat::Error DeleteKey(plat::RootKey root, std::string_view subKey) override;
    plat::Error QueryValue(plat::KeyHandle key, std::string_view name, std::size_t capacity,
                    plat::RegistryValue* value) override;
    plat::Error SetValue(plat::KeyHandle key, std::string_view name, const plat::RegistryValue& value) override;
    plat::Error EnumValue(plat::KeyHandle key, std::uint32_t index, std::size_t nameCapacity, std::string* name) override;
};

}  // namespace win32
