#pragma once
#include "win32/win32_files.h"

namespace win32 {

// The file system as the installation works on it: what Win32Files does (the
// same calls, made by it), and versions, copies and new folders.
class Win32FilesInstall final : public plat::FilesInstall {
public:
    bool SetArchiveAttribute(std::string_view path) override { return files_.SetArchiveAttribute(path); }
    plat::Error ClearReadOnly(std::string_view path) override { return files_.ClearReadOnly(path); }
    plat::Error DeleteFile(std::string_view path) override { return files_.DeleteFile(path); }
    plat::Error ListFolder(std::string_view folder, std::vector<std::string>* names) override {
        return files_.ListFolder(folder, names);
    }

    std::optional<std::string> VersionText(std::string_view path) override;
    bool FileExists(std::string_view path) override;
    plat::Error CopyFile(std::string_view source, std::string_view destination, bool failIfExists) override;
    plat::Error CreateFolder(std::string_view path) override;

private:
    Win32Files files_;
};

}  // namespace win32
