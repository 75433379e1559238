#include "win32/win32_registry.h"

#include <windows.h>

#include <algorithm>

#include "win32/encoding.h"

namespace win32 {

namespace {
HKEY RootHandle(plat::RootKey root) {
    return root == plat::RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
HKEY Handle(plat::KeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}
bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// String data converted between code pages; a terminating NUL stays where the
// writer put one.
std::vector<std::uint8_t> ConvertText(const std::vector<std::uint8_t>& data, std::string (*convert)(std::string_view)) {
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    const std::string text = convert(std::string(data.begin(), end));
    std::vector<std::uint8_t> out(text.begin(), text.end());
    if (end != data.end()) out.push_back(0);
    return out;
}
}  // namespace

plat::Error Win32Registry::OpenKey(plat::RootKey root, std::string_view subKey, plat::KeyHandle* key) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(RootHandle(root), Utf8ToAnsi(subKey).c_str(), 0, KEY_ALL_ACCESS, &opened);
    if (result == ERROR_SUCCESS) *key = reinterpret_cast<plat::KeyHandle>(opened);
    return result;
}

plat::Error Win32Registry::CreateKey(plat::RootKey root, std::string_view subKey, plat::KeyHandle* key) {
    HKEY created = nullptr;
    const LONG result = RegCreateKeyExA(RootHandle(root), Utf8ToAnsi(subKey).c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS) *key = reinterpret_cast<plat::KeyHandle>(created);
    return result;
}

plat::Error Win32Registry::CloseKey(plat::KeyHandle key) {
    return RegCloseKey(Handle(key));
}

plat::Error Win32Registry::DeleteKey(plat::RootKey root, std::string_view subKey) {
    // An empty name would mean the root itself.
    if (subKey.empty()) return ERROR_ACCESS_DENIED;
    return RegDeleteKeyA(RootHandle(root), Utf8ToAnsi(subKey).c_str());
}

plat::Error Win32Registry::QueryValue(plat::KeyHandle key, std::string_view name, std::size_t capacity,
                               plat::RegistryValue* value) {
    std::vector<std::uint8_t> buffer(std::max<std::size_t>(capacity, 1));
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(capacity);
    const LONG result = RegQueryValueExA(Handle(key), Utf8ToAnsi(name).c_str(), nullptr, &type, buffer.data(), &size);
    if (result != ERROR_SUCCESS) return result;
    buffer.resize(size);
    value->type = type;
    value->data = IsText(type) ? ConvertText(buffer, &AnsiToUtf8) : std::move(buffer);
    return ERROR_SUCCESS;
}

plat::Error Win32Registry::SetValue(plat::KeyHandle key, std::string_view name, const plat::RegistryValue& value) {
    const std::vector<std::uint8_t> data = IsText(value.type) ? ConvertText(value.data, &Utf8ToAnsi) : value.data;
    return RegSetValueExA(Handle(key), Utf8ToAnsi(name).c_str(), 0, value.type, data.data(),
                          static_cast<DWORD>(data.size()));
}

plat::Error Win32Registry::EnumValue(plat::KeyHandle key, std::uint32_t index, std::size_t nameCapacity, std::string* name) {
    std::vector<char> buffer(std::max<std::size_t>(nameCapacity, 1));
    DWORD length = static_cast<DWORD>(nameCapacity);
    const LONG result = RegEnumValueA(Handle(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) *name = AnsiToUtf8(std::string_view(buffer.data(), length));
    return result;
}

}  // namespace win32
