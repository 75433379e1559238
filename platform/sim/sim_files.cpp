#include "sim/sim_files.h"
#include "sim/sim_code_page.h"
#include "sim/sim_faults.h"

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

// Names are held in the ANSI code page, as the system holds them for the
// programs' A functions, and compared without regard to case.
std::string SimFiles::Key(std::string_view path) {
    std::string key = FoldAnsiCase(ToAnsi(path));
    for (char& c : key) {
        if (c == '/') c = '\\';
    }
    // "C:\WINDOWS\" and "C:\WINDOWS" name the same folder.
    while (key.size() > 1 && key.back() == '\\') key.pop_back();
    return key;
}

std::string SimFiles::Spelling(std::string_view path) {
    std::string spelled = ToAnsi(path);
    for (char& c : spelled) {
        if (c == '/') c = '\\';
    }
    while (spelled.size() > 1 && spelled.back() == '\\') spelled.pop_back();
    return spelled;
}

// A file written over keeps the name it had, as the platform keeps it.
void SimFiles::Name(std::string_view path) {
    spellings_.try_emplace(Key(path), Spelling(path));
}

void SimFiles::Write(std::string_view path, std::string content) {
    files_[Key(path)] = std::move(content);
    Name(path);
}

bool SimFiles::Remove(std::string_view path) {
    return RemoveKey(Key(path));
}

bool SimFiles::RemoveKey(const std::string& key) {
    versions_.erase(key);
    readOnly_.erase(key);
    if (files_.erase(key) == 0) return false;
    if (!folders_.contains(key)) spellings_.erase(key);
    return true;
}

std::optional<std::string> SimFiles::Read(std::string_view path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> SimFiles::VersionText(std::string_view path) {
    if (Enter(faults, "Files.VersionText", plat::kErrorAccessDenied, path)) return std::nullopt;
    if (!Exists(path)) return std::nullopt;
    auto it = versions_.find(Key(path));
    if (it == versions_.end()) return std::nullopt;
    return it->second;
}

void SimFiles::SetVersion(std::string_view path, std::string version) {
    if (!Exists(path)) Write(path, "stand-in");
    versions_[Key(path)] = std::move(version);
}

bool SimFiles::FileExists(std::string_view path) {
    if (Enter(faults, "Files.FileExists", plat::kErrorAccessDenied, path)) return false;
    return Exists(path) || FolderExists(path);
}

bool SimFiles::SetArchiveAttribute(std::string_view path) {
    if (Enter(faults, "Files.SetArchiveAttribute", plat::kErrorAccessDenied, path)) return false;
    archived.emplace_back(path);
    readOnly_.erase(Key(path));
    return Exists(path) || FolderExists(path);
}

plat::Error SimFiles::ClearReadOnly(std::string_view path) {
    if (long error = Enter(faults, "Files.ClearReadOnly", plat::kErrorAccessDenied, path)) return error;
    const std::string key = Key(path);
    if (!files_.contains(key) && !FolderExistsKey(key)) {
        const std::string_view folder = FolderOf(key);
        return !folder.empty() && !FolderExistsKey(std::string(folder)) ? plat::kErrorPathNotFound
                                                                        : plat::kErrorFileNotFound;
    }
    readOnly_.erase(key);
    return plat::kErrorSuccess;
}

void SimFiles::SetReadOnly(std::string_view path) {
    if (Exists(path)) readOnly_.insert(Key(path));
}

bool SimFiles::IsReadOnly(std::string_view path) const {
    return readOnly_.contains(Key(path));
}

void SimFiles::MakeFolder(std::string_view path) {
    folders_.insert(Key(path));
    Name(path);
}

void SimFiles::RemoveFolder(std::string_view path) {
    const std::string key = Key(path);
    folders_.erase(key);
    if (!files_.contains(key)) spellings_.erase(key);
}

bool SimFiles::FolderExists(std::string_view path) const {
    return FolderExistsKey(Key(path));
}

bool SimFiles::FolderExistsKey(const std::string& folder) const {
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

plat::Error SimFiles::CopyFile(std::string_view source, std::string_view destination, bool failIfExists) {
    if (long error = Enter(faults, "Files.CopyFile", plat::kErrorFileNotFound, destination)) return error;
    const std::string from = Key(source);
    const std::string to = Key(destination);
    if (long error = InjectedFailure(to)) return error;
    auto content = files_.find(from);
    if (content == files_.end()) return plat::kErrorFileNotFound;
    // A bare name goes to the current folder, which always exists.
    const std::string_view folder = FolderOf(to);
    if (!folder.empty() && !FolderExistsKey(std::string(folder))) return plat::kErrorPathNotFound;
    if (failIfExists && files_.contains(to)) return plat::kErrorFileExists;
    // The copy opens its source for reading and its destination for writing:
    // the same file cannot be both, nor can a source opened without sharing
    // be read (a file the spooler has loaded still can).
    if (from == to) return plat::kErrorSharingViolation;
    if (auto held = held_.find(from); held != held_.end() && held->second == plat::kErrorSharingViolation) {
        return plat::kErrorSharingViolation;
    }
    if (auto held = held_.find(to); held != held_.end()) return held->second;
    // A read-only file is not overwritten; the copy takes the source's
    // attributes, read-only included.
    if (readOnly_.contains(to)) return plat::kErrorAccessDenied;

    files_[to] = content->second;
    if (readOnly_.contains(from)) readOnly_.insert(to);
    Name(destination);
    if (auto version = versions_.find(from); version != versions_.end()) {
        versions_[to] = version->second;
    } else {
        versions_.erase(to);
    }
    copies.push_back({std::string(source), std::string(destination)});
    return plat::kErrorSuccess;
}

plat::Error SimFiles::DeleteFile(std::string_view path) {
    if (long error = Enter(faults, "Files.DeleteFile", plat::kErrorAccessDenied, path)) return error;
    const std::string key = Key(path);
    if (!files_.contains(key)) {
        // A folder is no file to delete; a name in a missing folder is not
        // looked for at all.
        if (FolderExistsKey(key)) return plat::kErrorAccessDenied;
        const std::string_view folder = FolderOf(key);
        if (!folder.empty() && !FolderExistsKey(std::string(folder))) return plat::kErrorPathNotFound;
        return plat::kErrorFileNotFound;
    }
    if (auto held = held_.find(key); held != held_.end()) return held->second;
    if (readOnly_.contains(key)) return plat::kErrorAccessDenied;
    RemoveKey(key);
    return plat::kErrorSuccess;
}

plat::Error SimFiles::CreateFolder(std::string_view path) {
    if (long error = Enter(faults, "Files.CreateFolder", plat::kErrorAccessDenied, path)) return error;
    const std::string key = Key(path);
    if (files_.contains(key)) return plat::kErrorAlreadyExists;
    if (FolderExistsKey(key)) return plat::kErrorSuccess;
    const std::string_view parent = FolderOf(key);
    if (!parent.empty() && !FolderExistsKey(std::string(parent))) return plat::kErrorPathNotFound;
    MakeFolder(path);
    return plat::kErrorSuccess;
}

// Every file or made folder below `folder` names the entry of `folder` it lies
// in: itself when directly inside, else the subfolder on its way. A drive's
// root lists no "." and "..", as on the platform.
plat::Error SimFiles::ListFolder(std::string_view folder, std::vector<std::string>* names) {
    if (long error = Enter(faults, "Files.ListFolder", plat::kErrorPathNotFound, folder)) return error;
    const std::string key = Key(folder);
    if (!FolderExistsKey(key)) return plat::kErrorPathNotFound;
    const std::string prefix = key + '\\';
    std::map<std::string, std::string> entries;  // by lower-cased name, as spelled
    auto visit = [&](const std::string& below) {
        const std::string_view rest = std::string_view(below).substr(prefix.size());
        const std::size_t end = rest.find('\\');
        const std::size_t length = end == std::string_view::npos ? rest.size() : end;
        if (length == 0) return;
        auto spelled = spellings_.find(below);
        std::string name = (spelled == spellings_.end() ? below : spelled->second).substr(prefix.size(), length);
        // An entry's own spelling beats the one of a path below it.
        if (end == std::string_view::npos) {
            entries.insert_or_assign(std::string(rest), std::move(name));
        } else {
            entries.try_emplace(std::string(rest.substr(0, length)), std::move(name));
        }
    };
    for (auto it = files_.lower_bound(prefix); it != files_.end() && it->first.starts_with(prefix); ++it) {
        visit(it->first);
    }
    for (auto it = folders_.lower_bound(prefix); it != folders_.end() && it->starts_with(prefix); ++it) visit(*it);

    const bool driveRoot = key.size() == 2 && key[1] == ':';
    if (driveRoot && entries.empty()) return plat::kErrorFileNotFound;
    std::vector<std::string> listed;
    if (!driveRoot) listed = {".", ".."};
    for (auto& [lower, name] : entries) listed.push_back(FromAnsi(name));
    *names = std::move(listed);
    return plat::kErrorSuccess;
}

}  // namespace sim
