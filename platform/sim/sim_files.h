#pragma once
// The simulated machine's file tree: full paths compared without regard to
// case, "/" and "\" alike.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

class SimFiles {
public:
    void Write(std::string_view path, std::string content);
    bool Remove(std::string_view path);
    std::optional<std::string> Read(std::string_view path) const;
    bool Exists(std::string_view path) const { return files_.count(Key(path)) != 0; }

private:
    static std::string Key(std::string_view path);
    std::map<std::string, std::string> files_;
};

}  // namespace sim
