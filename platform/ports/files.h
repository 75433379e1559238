#pragma once
// The file system as the installer needs it: file versions and attributes.
#include <optional>
#include <string>
#include <string_view>

namespace plat {

class Files {
public:
    virtual ~Files() = default;

    // The FileVersion text of the file's version resource, under the first
    // language and code page of its translation table; nothing when the file
    // has no version resource or it cannot be read.
    virtual std::optional<std::string> VersionText(std::string_view path) = 0;
    // SetFileAttributes(FILE_ATTRIBUTE_ARCHIVE): clears read-only, hidden and
    // system; false when it failed.
    virtual bool SetArchiveAttribute(std::string_view path) = 0;
};

}  // namespace plat
