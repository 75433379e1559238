#pragma once
// The simulated machine's file tree: full paths compared without regard to
// case, "/" and "\" alike.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/files.h"

namespace sim {

class SimFiles : public plat::Files {
public:
    // Version texts are set by the tests: a file without one has no version
    // resource.
    std::optional<std::string> VersionText(std::string_view path) override;
    bool SetArchiveAttribute(std::string_view path) override;
    void SetVersion(std::string_view path, std::string version);
    // Every path whose attributes were reset, existing or not.
    std::vector<std::string> archived;

    void Write(std::string_view path, std::string content);
    bool Remove(std::string_view path);
    std::optional<std::string> Read(std::string_view path) const;
    bool Exists(std::string_view path) const { return files_.count(Key(path)) != 0; }

private:
    static std::string Key(std::string_view path);
    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> versions_;
};

}  // namespace sim
