#pragma once
#include "ports/files.h"

namespace win32 {

class Win32Files : public plat::Files {
public:
    std::optional<std::string> VersionText(std::string_view path) override;
    bool SetArchiveAttribute(std::string_view path) override;
};

}  // namespace win32
