#pragma once
// The simulated registry: keys and value names compared without regard to
// case, values enumerated in the order they were first written, handles that
// go stale when their key is deleted. Any operation can be made to fail.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ports/registry.h"

namespace sim {

class FaultPlan;

enum class RegistryOp { OpenKey, CreateKey, CloseKey, DeleteKey, QueryValue, SetValue, EnumValue };

class SimRegistry : public plat::Registry {
public:
    // The machine's plan of failures, consulted on entry of every call.
    FaultPlan* faults = nullptr;

    SimRegistry();
    ~SimRegistry() override;

    plat::Error OpenKey(plat::RootKey root, std::string_view subKey, plat::KeyHandle* key) override;
    plat::Error CreateKey(plat::RootKey root, std::string_view subKey, plat::KeyHandle* key) override;
    plat::Error CloseKey(plat::KeyHandle key) override;
    plat::Error DeleteKey(plat::RootKey root, std::string_view subKey) override;
    plat::Error QueryValue(plat::KeyHandle key, std::string_view name, std::size_t capacity,
                    plat::RegistryValue* value) override;
    plat::Error SetValue(plat::KeyHandle key, std::string_view name, const plat::RegistryValue& value) override;
    plat::Error EnumValue(plat::KeyHandle key, std::uint32_t index, std::size_t nameCapacity, std::string* name) override;

    // Makes every later `op` on a key path containing `pathPart` (any path
    // when empty) fail with `error`.
    void Fail(RegistryOp op, long error, std::string pathPart = {});
    void ClearFailures() { failures_.clear(); }

    // Inspection and set-up for tests, bypassing failures and handles.
    bool KeyExists(plat::RootKey root, std::string_view subKey) const;
    std::optional<plat::RegistryValue> Value(plat::RootKey root, std::string_view subKey, std::string_view name) const;
    void Put(plat::RootKey root, std::string_view subKey, std::string_view name, plat::RegistryValue value);
    void PutString(plat::RootKey root, std::string_view subKey, std::string_view name, std::string_view text);
    void PutDword(plat::RootKey root, std::string_view subKey, std::string_view name, std::uint32_t value);
    // Removes a key with everything below it; false when there was none.
    bool RemoveKey(plat::RootKey root, std::string_view subKey);
    std::size_t OpenHandleCount() const { return handles_.size(); }
    // The program has ended: the system closes the keys it held open.
    void ProcessEnded() { handles_.clear(); }

    static constexpr long kErrorKeyDeleted = 1018;

private:
    struct Node;
    using Path = std::vector<std::string>;  // lower-cased names from the root
    static Path Split(plat::RootKey root, std::string_view subKey);
    Node* Find(const Path& path) const;
    Node* Make(const Path& path);
    long Failure(RegistryOp op, const Path& path) const;
    Node* FromHandle(plat::KeyHandle key, const Path** path) const;
    // What a value call works on, for the plan of failures: key path and name.
    std::string Detail(plat::KeyHandle key, std::string_view name) const;

    std::unique_ptr<Node> tree_;
    std::map<plat::KeyHandle, Path> handles_;
    plat::KeyHandle nextHandle_ = 0x100;
    struct FailureRule {
        RegistryOp op;
        long error;
        std::string pathPart;
    };
    std::vector<FailureRule> failures_;
};

}  // namespace sim
