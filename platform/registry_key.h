#pragma once
// One open registry key and the last error of the operations made through it.
// Every operation returns whether it succeeded; outputs are left untouched on
// failure, and lastError() tells why.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/registry.h"

namespace plat {

class RegistryKey {
public:
    explicit RegistryKey(Registry& registry) : registry_(&registry) {}
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    // The open key moves with its owner; the one moved from holds none.
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;

    // Opens `subKey` of `root` with full access, closing any key held before.
    [[nodiscard]] bool Open(RootKey root, std::string_view subKey);
    bool Close();
    bool IsOpen() const { return key_ != 0; }

    [[nodiscard]] bool ReadDword(std::string_view name, std::uint32_t* value);
    // A string value of at most bufferSize bytes, its terminating NUL included.
    [[nodiscard]] bool ReadString(std::string_view name, std::size_t bufferSize, std::string* text);
    // A ";"-separated string value (up to kMaxListText characters) as its parts;
    // empty parts are dropped.
    [[nodiscard]] bool ReadStringList(std::string_view name, std::vector<std::string>* items);
    // A value as stored, its type included, of at most `capacity` bytes.
    [[nodiscard]] bool ReadData(std::string_view name, std::size_t capacity, RegistryValue* value);
    [[nodiscard]] bool WriteDword(std::string_view name, std::uint32_t value);
    [[nodiscard]] bool WriteString(std::string_view name, std::string_view text);
    [[nodiscard]] bool WriteData(std::string_view name, std::uint32_t type, const std::vector<std::uint8_t>& data);
    // The name of value `index` of the open key, at most nameCapacity - 1 characters.
    [[nodiscard]] bool EnumValueName(std::uint32_t index, std::size_t nameCapacity, std::string* name);

    // Creates the key (and missing parents) and closes it at once.
    [[nodiscard]] static bool CreateKey(Registry& registry, RootKey root, std::string_view subKey,
                                        long* error = nullptr);
    [[nodiscard]] static bool DeleteKey(Registry& registry, RootKey root, std::string_view subKey,
                                        long* error = nullptr);

    Error lastError() const { return lastError_; }

    static constexpr std::size_t kMaxListText = 2500;

private:
    bool Record(long error) {
        lastError_ = error;
        return error == kErrorSuccess;
    }
    bool RequireOpen();

    Registry* registry_;
    KeyHandle key_ = 0;
    long lastError_ = kErrorSuccess;
};

// The text of a string value's bytes: up to the first NUL, or all of them when
// the writer stored none.
std::string RegistryText(const RegistryValue& value);

}  // namespace plat
