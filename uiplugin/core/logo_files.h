#pragma once
// What the download page needs of files: a file the user picks in the
// open-file dialog, a file's size, and a file's whole contents.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/desktop.h"

namespace plugin {

// One open-file dialog: its title (none: the system's own) and its filter pairs ("*.bmp"/"*.bmp"),
// the first pair selected.
struct FileChoice {
    std::string_view title;
    std::vector<std::string_view> filters;  // description, pattern, description, pattern, ...
};

// A confirmed choice: the full path and the file name without its folder.
struct ChosenFile {
    std::string path;
    std::string name;
};

enum class FileReadError {
    kNone,
    kOpenFailed,  // the file cannot be opened for reading
    kSizeFailed,  // its size cannot be read
    kTooLarge,    // larger than the caller takes: no buffer for it
    kReadFailed,  // the read call fails, or the file ends early
};

struct FileRead {
    FileReadError error = FileReadError::kNone;
    std::vector<std::uint8_t> bytes;  // the whole file, when no error
    long systemError = 0;             // the system's code of a failed call, when it gave one
};

class LogoFiles {
public:
    virtual ~LogoFiles() = default;
    // The open-file dialog owned by `owner`; nothing when the user cancels.
    virtual std::optional<ChosenFile> ChooseFile(plat::WindowRef owner, const FileChoice& choice) = 0;
    // The size in bytes of the file at `path`; nothing when it cannot be
    // opened or its size read.
    virtual std::optional<std::uint64_t> Size(std::string_view path) = 0;
    // The whole file at `path`, when it holds at most `maxBytes` bytes.
    virtual FileRead Read(std::string_view path, std::uint64_t maxBytes) = 0;
};

}  // namespace plugin
