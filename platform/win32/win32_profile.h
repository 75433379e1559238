#pragma once
#include "ports/profile.h"

namespace win32 {

class Win32Profile : public plat::Profile {
public:
    std::string GetString(std::string_view path, std::string_view section, std::string_view key,
                          std::string_view defaultText, std::size_t bufferSize) override;
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;
    bool FlushProfile() override;
};

}  // namespace win32
