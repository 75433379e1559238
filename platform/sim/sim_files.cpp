#include "sim/sim_files.h"

#include "text.h"

namespace sim {

std::string SimFiles::Key(std::string_view path) {
    std::string key = plat::ToLowerAscii(path);
    for (char& c : key) {
        if (c == '/') c = '\\';
    }
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

}  // namespace sim
