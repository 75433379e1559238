#include "sim/sim_registry.h"
#include "sim/sim_faults.h"

#include <algorithm>

#include "text.h"

namespace sim {

struct SimRegistry::Node {
    std::map<std::string, std::unique_ptr<Node>> children;  // by lower-cased name
    std::vector<std::pair<std::string, plat::RegistryValue>> values;

    plat::RegistryValue* FindValue(std::string_view name) {
        for (auto& [valueName, value] : values) {
            if (plat::EqualsNoCase(valueName, name)) return &value;
        }
        return nullptr;
    }
};

SimRegistry::SimRegistry() : tree_(std::make_unique<Node>()) {}
SimRegistry::~SimRegistry() = default;

SimRegistry::Path SimRegistry::Split(plat::RootKey root, std::string_view subKey) {
    Path path{root == plat::RootKey::LocalMachine ? "hkey_local_machine" : "hkey_current_user"};
    std::size_t pos = 0;
    while (pos <= subKey.size()) {
        std::size_t end = subKey.find('\\', pos);
        if (end == std::string_view::npos) end = subKey.size();
        // Empty parts ("a\\b", a trailing "\") name nothing, as on the platform.
        if (end > pos) path.push_back(plat::ToLowerAscii(subKey.substr(pos, end - pos)));
        pos = end + 1;
    }
    return path;
}

SimRegistry::Node* SimRegistry::Find(const Path& path) const {
    Node* node = tree_.get();
    for (const auto& part : path) {
        auto it = node->children.find(part);
        if (it == node->children.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

SimRegistry::Node* SimRegistry::Make(const Path& path) {
    Node* node = tree_.get();
    for (const auto& part : path) {
        auto& child = node->children[part];
        if (!child) child = std::make_unique<Node>();
        node = child.get();
    }
    return node;
}

long SimRegistry::Failure(RegistryOp op, const Path& path) const {
    std::string joined;
    for (const auto& part : path) joined += part + "\\";
    for (const auto& rule : failures_) {
        if (rule.op == op && plat::Contains(joined, plat::ToLowerAscii(rule.pathPart))) return rule.error;
    }
    return plat::kErrorSuccess;
}

SimRegistry::Node* SimRegistry::FromHandle(plat::KeyHandle key, const Path** path) const {
    auto it = handles_.find(key);
    if (it == handles_.end()) return nullptr;
    *path = &it->second;
    return Find(it->second);
}

std::string SimRegistry::Detail(plat::KeyHandle key, std::string_view name) const {
    std::string detail;
    if (auto it = handles_.find(key); it != handles_.end()) {
        for (const auto& part : it->second) detail += part + "\\";
    }
    return detail + std::string(name);
}

void SimRegistry::Fail(RegistryOp op, long error, std::string pathPart) {
    failures_.push_back({op, error, std::move(pathPart)});
}

plat::Error SimRegistry::OpenKey(plat::RootKey root, std::string_view subKey, plat::KeyHandle* key) {
    if (long error = Enter(faults, "Registry.OpenKey", plat::kErrorAccessDenied, subKey)) return error;
    const Path path = Split(root, subKey);
    if (long error = Failure(RegistryOp::OpenKey, path)) return error;
    if (!Find(path)) return plat::kErrorFileNotFound;
    *key = nextHandle_++;
    handles_[*key] = path;
    return plat::kErrorSuccess;
}

plat::Error SimRegistry::CreateKey(plat::RootKey root, std::string_view subKey, plat::KeyHandle* key) {
    if (long error = Enter(faults, "Registry.CreateKey", plat::kErrorAccessDenied, subKey)) return error;
    const Path path = Split(root, subKey);
    if (long error = Failure(RegistryOp::CreateKey, path)) return error;
    Make(path);
    *key = nextHandle_++;
    handles_[*key] = path;
    return plat::kErrorSuccess;
}

plat::Error SimRegistry::CloseKey(plat::KeyHandle key) {
    auto it = handles_.find(key);
    if (it == handles_.end()) return plat::kErrorInvalidHandle;
    const Path path = it->second;
    handles_.erase(it);
    // A close that reports a failure gives the handle back all the same.
    if (long error = Enter(faults, "Registry.CloseKey", plat::kErrorInvalidHandle)) return error;
    return Failure(RegistryOp::CloseKey, path);
}

plat::Error SimRegistry::DeleteKey(plat::RootKey root, std::string_view subKey) {
    if (long error = Enter(faults, "Registry.DeleteKey", plat::kErrorAccessDenied, subKey)) return error;
    Path path = Split(root, subKey);
    if (long error = Failure(RegistryOp::DeleteKey, path)) return error;
    if (path.size() < 2) return plat::kErrorAccessDenied;  // a root itself
    Node* node = Find(path);
    if (!node) return plat::kErrorFileNotFound;
    if (!node->children.empty()) return plat::kErrorAccessDenied;
    const std::string last = path.back();
    path.pop_back();
    Find(path)->children.erase(last);
    return plat::kErrorSuccess;
}

plat::Error SimRegistry::QueryValue(plat::KeyHandle key, std::string_view name, std::size_t capacity,
                             plat::RegistryValue* value) {
    if (long error = Enter(faults, "Registry.QueryValue", plat::kErrorAccessDenied, Detail(key, name))) return error;
    const Path* path = nullptr;
    Node* node = FromHandle(key, &path);
    if (!path) return plat::kErrorInvalidHandle;
    if (!node) return kErrorKeyDeleted;
    if (long error = Failure(RegistryOp::QueryValue, *path)) return error;
    const plat::RegistryValue* found = node->FindValue(name);
    if (!found) return plat::kErrorFileNotFound;
    if (found->data.size() > capacity) return plat::kErrorMoreData;
    *value = *found;
    return plat::kErrorSuccess;
}

plat::Error SimRegistry::SetValue(plat::KeyHandle key, std::string_view name, const plat::RegistryValue& value) {
    if (long error = Enter(faults, "Registry.SetValue", plat::kErrorAccessDenied, Detail(key, name))) return error;
    const Path* path = nullptr;
    Node* node = FromHandle(key, &path);
    if (!path) return plat::kErrorInvalidHandle;
    if (!node) return kErrorKeyDeleted;
    if (long error = Failure(RegistryOp::SetValue, *path)) return error;
    if (plat::RegistryValue* existing = node->FindValue(name)) {
        *existing = value;
    } else {
        node->values.emplace_back(std::string(name), value);
    }
    return plat::kErrorSuccess;
}

plat::Error SimRegistry::EnumValue(plat::KeyHandle key, std::uint32_t index, std::size_t nameCapacity, std::string* name) {
    if (long error = Enter(faults, "Registry.EnumValue", plat::kErrorAccessDenied)) return error;
    const Path* path = nullptr;
    Node* node = FromHandle(key, &path);
    if (!path) return plat::kErrorInvalidHandle;
    if (!node) return kErrorKeyDeleted;
    if (long error = Failure(RegistryOp::EnumValue, *path)) return error;
    if (index >= node->values.size()) return plat::kErrorNoMoreItems;
    const std::string& found = node->values[index].first;
    if (found.size() + 1 > nameCapacity) return plat::kErrorMoreData;
    *name = found;
    return plat::kErrorSuccess;
}

bool SimRegistry::KeyExists(plat::RootKey root, std::string_view subKey) const {
    return Find(Split(root, subKey)) != nullptr;
}

std::optional<plat::RegistryValue> SimRegistry::Value(plat::RootKey root, std::string_view subKey,
                                                      std::string_view name) const {
    Node* node = Find(Split(root, subKey));
    if (!node) return std::nullopt;
    if (const plat::RegistryValue* value = node->FindValue(name)) return *value;
    return std::nullopt;
}

void SimRegistry::Put(plat::RootKey root, std::string_view subKey, std::string_view name, plat::RegistryValue value) {
    Node* node = Make(Split(root, subKey));
    if (plat::RegistryValue* existing = node->FindValue(name)) {
        *existing = std::move(value);
    } else {
        node->values.emplace_back(std::string(name), std::move(value));
    }
}

void SimRegistry::PutString(plat::RootKey root, std::string_view subKey, std::string_view name, std::string_view text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    Put(root, subKey, name, {plat::kRegSz, std::move(data)});
}

void SimRegistry::PutDword(plat::RootKey root, std::string_view subKey, std::string_view name, std::uint32_t value) {
    Put(root, subKey, name,
        {plat::kRegDword,
         {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}});
}

bool SimRegistry::RemoveKey(plat::RootKey root, std::string_view subKey) {
    Path path = Split(root, subKey);
    if (path.size() < 2) return false;  // a root stays
    const std::string last = path.back();
    path.pop_back();
    Node* parent = Find(path);
    return parent && parent->children.erase(last) != 0;
}

}  // namespace sim
