#pragma once
// What the watermark page needs of files: the open-file dialog of
// "Procurar...", files read whole within a limit, files written whole, a copy
// and the temporary folder where the picture for the printing side goes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/logo_files.h"
#include "ports/desktop.h"

namespace plugin {

class WatermarkFiles {
public:
    virtual ~WatermarkFiles() = default;
    // GetOpenFileNameW owned by `owner`, filter "*.bmp"/"*.bmp", no title,
    // path and name buffers of 256 characters; nothing when the user cancels.
    virtual std::optional<ChosenFile> ChooseBitmap(plat::WindowRef owner) = 0;
    // The whole file at `path`, when it holds at most `maxBytes` bytes.
    virtual FileRead Read(std::string_view path, std::uint64_t maxBytes) = 0;
    // Creates `path` anew (always overwriting, shared with nobody) and writes
    // `bytes`; false when it cannot be created or not every byte was written.
    virtual bool Write(std::string_view path, std::span<const std::uint8_t> bytes) = 0;
    // CopyFile over an existing destination; false when it failed.
    virtual bool Copy(std::string_view source, std::string_view destination) = 0;
    // SetFileAttributes(FILE_ATTRIBUTE_ARCHIVE); false when it failed.
    virtual bool SetArchiveOnly(std::string_view path) = 0;
    // GetTempPath: the temporary folder, ending in a backslash.
    virtual std::string TemporaryFolder() = 0;
};

}  // namespace plugin
