#pragma once
// Reading values of profile (INI) files, with the platform's semantics:
// section and key names compared without regard to case, the default text
// returned for a missing file, section or key, and every value cut to the
// caller's buffer size less one.
#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

class Profile {
public:
    virtual ~Profile() = default;

    // GetPrivateProfileString: `bufferSize` counts the terminating NUL, so the
    // result holds at most bufferSize - 1 characters. Text is UTF-8.
    [[nodiscard]] virtual std::string GetString(std::string_view path, std::string_view section, std::string_view key,
                                  std::string_view defaultText, std::size_t bufferSize) = 0;

    // WriteProfileString: a value of the system's own profile (win.ini).
    [[nodiscard]] virtual bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) = 0;
    // WriteProfileString with three null arguments: writes the system's
    // profile out from its cache.
    [[nodiscard]] virtual bool FlushProfile() = 0;
};

}  // namespace plat
