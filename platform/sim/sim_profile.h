#pragma once
#include "ports/profile.h"
#include "sim/sim_files.h"

namespace sim {

class FaultPlan;

// Profile files read from the simulated file tree, as GetPrivateProfileString
// reads them: first matching section and key win, blanks around names and
// values dropped, one pair of matching quotes around a value removed, lines
// starting with ';' ignored, trailing blanks of the default text dropped.
// The files hold 8-bit text in the ANSI code page, as on the platform: names
// are looked up and values cut to the buffer in that code page, and given back
// in UTF-8 like every port's text.
class SimProfile : public plat::Profile {
public:
    // The machine's plan of failures, consulted on entry of every call.
    FaultPlan* faults = nullptr;

    explicit SimProfile(SimFiles& files) : files_(files) {}
    std::string GetString(std::string_view path, std::string_view section, std::string_view key,
                          std::string_view defaultText, std::size_t bufferSize) override;
    // Writes into the file kWinIni of the simulated tree: an existing key is
    // replaced, a new one goes at the end of its section, a new section at
    // the end of the file.
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;
    bool FlushProfile() override;

    static constexpr std::string_view kWinIni = "C:\\WINDOWS\\win.ini";
    int flushes = 0;
    bool writesSucceed = true;

private:
    SimFiles& files_;
};

// The value of `key` in `section` of profile text, if present.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace sim
