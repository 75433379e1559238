#pragma once
// The registry as the platform offers it: keys opened under a predefined root,
// values with their platform types, results as Win32 error codes (0 success).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/errors.h"

namespace plat {

enum class RootKey { LocalMachine, CurrentUser };

// Opaque handle of an open key; 0 is never a valid key.
using KeyHandle = std::uintptr_t;

// Value types as the platform numbers them.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

struct RegistryValue {
    std::uint32_t type = kRegNone;
    // Raw bytes as stored; string types are UTF-8 text with its terminating NUL
    // when the writer stored one.
    std::vector<std::uint8_t> data;
};

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyEx with KEY_ALL_ACCESS.
    virtual Error OpenKey(RootKey root, std::string_view subKey, KeyHandle* key) = 0;
    // RegCreateKeyEx with KEY_ALL_ACCESS: opens the key, creating it and any
    // missing parents.
    virtual Error CreateKey(RootKey root, std::string_view subKey, KeyHandle* key) = 0;
    virtual Error CloseKey(KeyHandle key) = 0;
    // RegDeleteKey: the key must have no subkeys.
    virtual Error DeleteKey(RootKey root, std::string_view subKey) = 0;

    // RegQueryValueEx into a buffer of `capacity` bytes: ERROR_MORE_DATA when
    // the value does not fit (and `value` is then left untouched).
    virtual Error QueryValue(KeyHandle key, std::string_view name, std::size_t capacity, RegistryValue* value) = 0;
    virtual Error SetValue(KeyHandle key, std::string_view name, const RegistryValue& value) = 0;
    // RegEnumValue: the name of value `index`, at most nameCapacity - 1
    // characters; ERROR_NO_MORE_ITEMS past the last one.
    virtual Error EnumValue(KeyHandle key, std::uint32_t index, std::size_t nameCapacity, std::string* name) = 0;
};

}  // namespace plat
