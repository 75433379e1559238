#include "registry_key.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace plat {

std::string RegistryText(const RegistryValue& value) {
    auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
    return std::string(value.data.begin(), end);
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : registry_(other.registry_), key_(std::exchange(other.key_, 0)), lastError_(other.lastError_) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        registry_ = other.registry_;
        key_ = std::exchange(other.key_, 0);
        lastError_ = other.lastError_;
    }
    return *this;
}

bool RegistryKey::ReadData(std::string_view name, std::size_t capacity, RegistryValue* value) {
    if (!RequireOpen()) return false;
    RegistryValue raw;
    if (!Record(registry_->QueryValue(key_, name, capacity, &raw))) return false;
    *value = std::move(raw);
    return true;
}

bool RegistryKey::Open(RootKey root, std::string_view subKey) {
    Close();
    KeyHandle key = 0;
    if (!Record(registry_->OpenKey(root, subKey, &key))) return false;
    key_ = key;
    return true;
}

bool RegistryKey::Close() {
    if (key_ == 0) return true;
    const KeyHandle key = key_;
    key_ = 0;
    return Record(registry_->CloseKey(key));
}

bool RegistryKey::RequireOpen() {
    return key_ != 0 || Record(kErrorInvalidHandle);
}

bool RegistryKey::ReadDword(std::string_view name, std::uint32_t* value) {
    if (!RequireOpen()) return false;
    RegistryValue raw;
    if (!Record(registry_->QueryValue(key_, name, sizeof(std::uint32_t), &raw))) return false;
    if (raw.type != kRegDword || raw.data.size() != sizeof(std::uint32_t)) {
        return Record(kErrorInvalidParameter);
    }
    std::memcpy(value, raw.data.data(), sizeof(std::uint32_t));
    return true;
}

bool RegistryKey::ReadString(std::string_view name, std::size_t bufferSize, std::string* text) {
    if (!RequireOpen()) return false;
    if (bufferSize == 0) return Record(kErrorMoreData);
    RegistryValue raw;
    if (!Record(registry_->QueryValue(key_, name, bufferSize, &raw))) return false;
    std::string read = RegistryText(raw);
    // A value stored without its NUL that fills the buffer exactly leaves no
    // room for one; the caller's buffer always ends in a NUL.
    if (read.size() >= bufferSize) read.resize(bufferSize - 1);
    *text = std::move(read);
    return true;
}

bool RegistryKey::ReadStringList(std::string_view name, std::vector<std::string>* items) {
    std::string text;
    if (!ReadString(name, kMaxListText + 1, &text)) return false;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    *items = std::move(parts);
    return true;
}

bool RegistryKey::WriteDword(std::string_view name, std::uint32_t value) {
    std::vector<std::uint8_t> data(sizeof value);
    std::memcpy(data.data(), &value, sizeof value);
    return WriteData(name, kRegDword, data);
}

bool RegistryKey::WriteString(std::string_view name, std::string_view text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return WriteData(name, kRegSz, data);
}

bool RegistryKey::WriteData(std::string_view name, std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if (!RequireOpen()) return false;
    return Record(registry_->SetValue(key_, name, RegistryValue{type, data}));
}

bool RegistryKey::EnumValueName(std::uint32_t index, std::size_t nameCapacity, std::string* name) {
    if (!RequireOpen()) return false;
    std::string read;
    if (!Record(registry_->EnumValue(key_, index, nameCapacity, &read))) return false;
    *name = std::move(read);
    return true;
}

bool RegistryKey::CreateKey(Registry& registry, RootKey root, std::string_view subKey, long* error) {
    KeyHandle key = 0;
    long result = registry.CreateKey(root, subKey, &key);
    if (result == kErrorSuccess) result = registry.CloseKey(key);
    if (error) *error = result;
    return result == kErrorSuccess;
}

bool RegistryKey::DeleteKey(Registry& registry, RootKey root, std::string_view subKey, long* error) {
    const long result = registry.DeleteKey(root, subKey);
    if (error) *error = result;
    return result == kErrorSuccess;
}

}  // namespace plat
