#include "sim/sim_files.h"

#include "text.h"

namespace sim {

namespace {
// The folder part of a key: everything before its last separator, or nothing
// for a bare name.
std::string_view FolderOf(std::string_view key) {
    const std::size_t slash = key.rfind('\\');
    return slash == std::string_view::npos ? std::string_view() : key.substr(0, slash);
}

// Whether a sorted container of keys holds one that starts with `prefix`:
// such keys sort next to each other, from the prefix's own place on.
template <typename Keys, typename KeyOf>
bool AnyStartsWith(const Keys& keys, const std::string& prefix, KeyOf keyOf) {
    auto it = keys.lower_bound(prefix);
    return it != keys.end() && std::string_view(keyOf(*it)).starts_with(prefix);
}
}  // namespace

std::string SimFiles::Key(std::string_view path) {
    std::string key = plat::ToLowerAscii(path);
    for (char& c : key) {
        if (c == '/') c = '\\';
    }
    // "C:\WINDOWS\" and "C:\WINDOWS" name the same folder.
    while (key.size() > 1 && key.back() == '\\') key.pop_back();
    return key;
}

void SimFiles::Write(std::string_view path, std::string content) {
    files_[Key(path)] = std::move(content);
}

bool SimFiles::Remove(std::string_view path) {
    versions_.erase(Key(path));
    return files_.erase(Key(path)) != 0;
}

std::optional<std::string> SimFiles::Read(std::string_view path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> SimFiles::VersionText(std::string_view path) {
    if (!Exists(path)) return std::nullopt;
    auto it = versions_.find(Key(path));
    if (it == versions_.end()) return std::nullopt;
    return it->second;
}

void SimFiles::SetVersion(std::string_view path, std::string version) {
    if (!Exists(path)) Write(path, "stand-in");
    versions_[Key(path)] = std::move(version);
}

bool SimFiles::SetArchiveAttribute(std::string_view path) {
    archived.emplace_back(path);
    return Exists(path);
}

void SimFiles::MakeFolder(std::string_view path) {
    folders_.insert(Key(path));
}

bool SimFiles::FolderExists(std::string_view path) const {
    const std::string folder = Key(path);
    if (folder.size() == 2 && folder[1] == ':') return true;  // a drive root
    if (folders_.contains(folder)) return true;
    const std::string below = folder + '\\';
    return AnyStartsWith(folders_, below, [](const std::string& key) { return key; }) ||
           AnyStartsWith(files_, below, [](const auto& entry) { return entry.first; });
}

void SimFiles::HoldOpen(std::string_view path, long error) {
    held_[Key(path)] = error;
}

void SimFiles::Release(std::string_view path) {
    held_.erase(Key(path));
}

void SimFiles::FailCopy(long error, std::string pathPart, int after) {
    copyFailures_.push_back({error, Key(pathPart), after});
}

void SimFiles::ClearFailures() {
    copyFailures_.clear();
}

long SimFiles::InjectedFailure(const std::string& destination) {
    long error = plat::kErrorSuccess;
    for (CopyFailure& rule : copyFailures_) {
        if (destination.find(rule.pathPart) == std::string::npos) continue;
        if (++rule.seen > rule.after && error == plat::kErrorSuccess) error = rule.error;
    }
    return error;
}

long SimFiles::CopyFile(std::string_view source, std::string_view destination, bool failIfExists) {
    const std::string from = Key(source);
    const std::string to = Key(destination);
    if (long error = InjectedFailure(to)) return error;
    auto content = files_.find(from);
    if (content == files_.end()) return plat::kErrorFileNotFound;
    // A bare name goes to the current folder, which always exists.
    const std::string_view folder = FolderOf(to);
    if (!folder.empty() && !FolderExists(folder)) return plat::kErrorPathNotFound;
    if (failIfExists && files_.contains(to)) return plat::kErrorFileExists;
    // The copy opens its source for reading and its destination for writing:
    // the same file cannot be both.
    if (from == to) return plat::kErrorSharingViolation;
    if (auto held = held_.find(to); held != held_.end()) return held->second;

    files_[to] = content->second;
    if (auto version = versions_.find(from); version != versions_.end()) {
        versions_[to] = version->second;
    } else {
        versions_.erase(to);
    }
    copies.push_back({std::string(source), std::string(destination)});
    return plat::kErrorSuccess;
}

}  // namespace sim
