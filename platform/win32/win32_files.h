#pragma once
#include "ports/files.h"

namespace win32 {

// The file system through the A functions, text in the ANSI code page: all
// of it the uninstaller has; the installer's Win32FilesInstall adds the rest.
class Win32Files final : public plat::Files {
public:
    bool SetArchiveAttribute(std::string_view path) override;
    plat::Error ClearReadOnly(std::string_view path) override;
    plat::Error DeleteFile(std::string_view path) override;
    plat::Error ListFolder(std::string_view folder, std::vector<std::string>* names) override;
};

}  // namespace win32
