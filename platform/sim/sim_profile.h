#pragma once
#include "ports/profile.h"
#include "sim/sim_files.h"

namespace sim {

// Profile files read from the simulated file tree, as GetPrivateProfileString
// reads them: first matching section and key win, blanks around names and
// values dropped, one pair of matching quotes around a value removed, lines
// starting with ';' ignored, trailing blanks of the default text dropped.
class SimProfile : public plat::Profile {
public:
    explicit SimProfile(const SimFiles& files) : files_(files) {}
    std::string GetString(std::string_view path, std::string_view section, std::string_view key,
                          std::string_view defaultText, std::size_t bufferSize) override;

private:
    const SimFiles& files_;
};

// The value of `key` in `section` of profile text, if present.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace sim
