#pragma once
// The file system as the programs need it: file versions, attributes,
// copies, folders (versions, copies and new folders for the installer only). Error results are Win32 error codes (0 success).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/errors.h"

namespace plat {

// What both programs do to files: attributes, deletion, folder listings.
class Files {
public:
    virtual ~Files() = default;

    // SetFileAttributes(FILE_ATTRIBUTE_ARCHIVE): clears read-only, hidden and
    // system; false when it failed.
    [[nodiscard]] virtual bool SetArchiveAttribute(std::string_view path) = 0;
    // GetFileAttributes, then SetFileAttributes with the same attributes less
    // FILE_ATTRIBUTE_READONLY: hidden, system and archive stay. 2 or 3 when
    // there is no such file.
    virtual Error ClearReadOnly(std::string_view path) = 0;
    // DeleteFile.
    virtual Error DeleteFile(std::string_view path) = 0;
    // FindFirstFile/FindNextFile over `folder` + "*.*": the names of its
    // entries (files and folders, "." and ".." included where the system
    // lists them), in the system's order; 2 or 18 when there is none.
    virtual Error ListFolder(std::string_view folder, std::vector<std::string>* names) = 0;
};

// What the installation does besides: read versions, ask whether a file is
// there, copy files and make folders.
class FilesInstall : public Files {
public:
    // The FileVersion text of the file's version resource, under the first
    // language and code page of its translation table; nothing when the file
    // has no version resource or it cannot be read.
    [[nodiscard]] virtual std::optional<std::string> VersionText(std::string_view path) = 0;
    // Whether a file or folder of that name exists (GetFileAttributes).
    [[nodiscard]] virtual bool FileExists(std::string_view path) = 0;
    // CopyFile: with `failIfExists` an existing destination is kept and the
    // copy fails with 80. A destination the system holds open fails with 32
    // (sharing violation) or 5 (access denied).
    virtual Error CopyFile(std::string_view source, std::string_view destination, bool failIfExists) = 0;
    // CreateDirectory of one folder whose parent exists: 0 when it was made
    // or a folder of that name is there already; 183 when a file of that
    // name is in the way, 3 when the parent is missing.
    virtual Error CreateFolder(std::string_view path) = 0;
};

}  // namespace plat
