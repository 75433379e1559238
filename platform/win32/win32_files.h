#pragma once
#include "ports/files.h"

namespace win32 {

class Win32Files : public plat::Files {
public:
    std::optional<std::string> VersionText(std::string_view path) override;
    bool SetArchiveAttribute(std::string_view path) override;
    long ClearReadOnly(std::string_view path) override;
    bool FileExists(std::string_view path) override;
    long CopyFile(std::string_view source, std::string_view destination, bool failIfExists) override;
    long DeleteFile(std::string_view path) override;
    long CreateFolder(std::string_view path) override;
    long ListFolder(std::string_view folder, std::vector<std::string>* names) override;
};

}  // namespace win32
