#pragma once
// The download page's files on Windows: the open-file dialog (W, under the
// plug-in's activation context) and files read whole with their size checked.
#include <windows.h>

#include "core/logo_files.h"

namespace plugin_win32 {

class Win32LogoFiles : public plugin::LogoFiles {
public:
    std::optional<plugin::ChosenFile> ChooseFile(plat::WindowRef owner, const plugin::FileChoice& choice) override;
    std::optional<std::uint64_t> Size(std::string_view path) override;
    plugin::FileRead Read(std::string_view path, std::uint64_t maxBytes) override;
};

// The preview of a logo: the bitmap file at `path` stretched over the whole
// of the owner-drawn frame `item`; the frame's background where the file is
// no bitmap. Every drawing object is given back.
void DrawLogoPreview(const DRAWITEMSTRUCT& item, const std::optional<std::string>& path);

}  // namespace plugin_win32
