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
    return files_.erase(Key(path)) != 0;
}

std::optional<std::string> SimFiles::Read(std::string_view path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

}  // namespace sim
