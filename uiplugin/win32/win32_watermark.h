#pragma once
// The watermark page's files and drawing on Windows: W file functions, GDI
// fonts enumerated and drawn on a 24-bit canvas, the preview frame painted
// with StretchDIBits.
#include <windows.h>

#include "core/watermark_files.h"
#include "core/watermark_graphics.h"
#include "win32/win32_logo_files.h"

namespace plugin_win32 {

class Win32WatermarkFiles : public plugin::WatermarkFiles {
public:
    std::optional<plugin::ChosenFile> ChooseBitmap(plat::WindowRef owner) override;
    plugin::FileRead Read(std::string_view path, std::uint64_t maxBytes) override;
    bool Write(std::string_view path, std::span<const std::uint8_t> bytes) override;
    bool Copy(std::string_view source, std::string_view destination) override;
    bool SetArchiveOnly(std::string_view path) override;
    std::string TemporaryFolder() override;

private:
    Win32LogoFiles logoFiles_;  // the open-file dialog and whole-file reads
};

// Drawing for one page: its preview frame is control `frameId` of `page`.
class Win32WatermarkGraphics : public plugin::WatermarkGraphics {
public:
    explicit Win32WatermarkGraphics(int frameId) : frameId_(frameId) {}
    void AttachPage(HWND page) { page_ = page; }
    // While the frame paints itself, the DC it paints on.
    void SetPaintDc(HDC dc) { paintDc_ = dc; }

    std::vector<std::string> TrueTypeFaces() override;
    plugin::PixelSize MeasureText(const plugin::TextFont& font, std::string_view text) override;
    plugin::Picture RenderText(const plugin::TextFont& font, std::string_view text, int x, int y) override;
    plugin::PixelSize FrameSize() override;
    void PaintFrame(const plugin::Picture& picture, std::span<const plugin::Blit> blits, bool text) override;

private:
    HWND page_ = nullptr;
    HDC paintDc_ = nullptr;
    int frameId_;
};

}  // namespace plugin_win32
