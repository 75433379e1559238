#pragma once
#include "ports/files.h"

namespace win32 {

class Win32Files : public plat::Files {
public:
    std::optional<std::string> VersionText(std::string_view path) override;
    bool SetArchiveAttribute(std::string_view path) override;
    plat::Error ClearReadOnly(std::string_view path) override;
    bool FileExists(std::string_view path) override;
    plat::Error CopyFile(std::string_view source, std::string_view destination, bool failIfExists) override;
    plat::Error DeleteFile(std::string_view path) override;
    plat::Error CreateFolder(std::string_view path) override;
    plat::Error ListFolder(std::string_view folder, std::vector<std::string>* names) override;
};

}  // namespace win32
