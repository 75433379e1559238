#include "win32/win32_watermark.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/watermark_page.h"
#include "scoped_handle.h"
#include "win32/encoding.h"
#include "win32/scoped_win32.h"

namespace plugin_win32 {

namespace {
using win32::GdiObjectDeleter;
using win32::MemoryDcDeleter;
using win32::ScopedGdiObject;
using win32::ScopedMemoryDc;
using win32::SelectedObject;

// The screen's DC for as long as it lives.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces) {
    if (type & TRUETYPE_FONTTYPE) {
        auto& list = *reinterpret_cast<std::vector<std::string>*>(faces);
        std::string face = win32::WideToUtf8(font->lfFaceName);
        if (std::find(list.begin(), list.end(), face) == list.end()) list.push_back(std::move(face));
    }
    return 1;
}

int CALLBACK KeepLastDescription(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM last) {
    *reinterpret_cast<LOGFONTW*>(last) = *font;
    return 1;
}

// The face as the screen describes it in the ANSI character set (the last
// description it reports), at the size, weight, slant and angle asked for.
ScopedGdiObject MakeFont(HDC screen, const plugin::TextFont& font) {
    LOGFONTW wanted{};
    wanted.lfCharSet = ANSI_CHARSET;
    const std::wstring face = win32::Utf8ToWide(font.face);
    wcsncpy(wanted.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    LOGFONTW chosen = wanted;
    EnumFontFamiliesExW(screen, &wanted, KeepLastDescription, reinterpret_cast<LPARAM>(&chosen), 0);
    const plugin::WatermarkStyle& style =
        plugin::kWatermarkStyles[std::clamp<std::size_t>(font.style, 0, plugin::kWatermarkStyles.size() - 1)];
    chosen.lfHeight = -MulDiv(font.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    // The enumeration's width belongs to its own sample height: let the
    // height decide the width.
    chosen.lfWidth = 0;
    chosen.lfWeight = style.weight;
    chosen.lfItalic = style.italic ? TRUE : FALSE;
    chosen.lfClipPrecision = CLIP_LH_ANGLES;
    chosen.lfEscapement = chosen.lfOrientation = font.angle * 10;
    return ScopedGdiObject(CreateFontIndirectW(&chosen), GdiObjectDeleter{});
}

BITMAPINFO PictureInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
}  // namespace

std::optional<plugin::ChosenFile> Win32WatermarkFiles::ChooseBitmap(plat::WindowRef owner) {
    return logoFiles_.ChooseFile(owner, plugin::FileChoice{{}, {"*.bmp", "*.bmp"}});
}

plugin::FileRead Win32WatermarkFiles::Read(std::string_view path, std::uint64_t maxBytes) {
    return logoFiles_.Read(path, maxBytes);
}

bool Win32WatermarkFiles::Write(std::string_view path, std::span<const std::uint8_t> bytes) {
    const std::wstring wide = win32::Utf8ToWide(path);
    const win32::ScopedFile file = win32::OwnFile(
        CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(win32::FileHandle(file), bytes.data() + done, want, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

bool Win32WatermarkFiles::Copy(std::string_view source, std::string_view destination) {
    return CopyFileW(win32::Utf8ToWide(source).c_str(), win32::Utf8ToWide(destination).c_str(), FALSE) != 0;
}

bool Win32WatermarkFiles::SetArchiveOnly(std::string_view path) {
    return SetFileAttributesW(win32::Utf8ToWide(path).c_str(), FILE_ATTRIBUTE_ARCHIVE) != 0;
}

std::string Win32WatermarkFiles::TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    return win32::WideToUtf8(std::wstring_view(folder, length));
}

std::vector<std::string> Win32WatermarkGraphics::TrueTypeFaces() {
    std::vector<std::string> faces;
    const ScreenDc screen;
    if (!screen.get()) return faces;
    LOGFONTW every{};
    every.lfCharSet = ANSI_CHARSET;
    EnumFontFamiliesExW(screen.get(), &every, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

plugin::PixelSize Win32WatermarkGraphics::MeasureText(const plugin::TextFont& font, std::string_view text) {
    const ScreenDc screen;
    const ScopedMemoryDc memory(CreateCompatibleDC(screen.get()), MemoryDcDeleter{});
    if (!memory) return {};
    const ScopedGdiObject made = MakeFont(screen.get(), font);
    const SelectedObject selected(memory.get(), made.get());
    const std::wstring wide = win32::Utf8ToWide(text);
    SIZE extent{};
    if (!GetTextExtentPoint32W(memory.get(), wide.c_str(), static_cast<int>(wide.size()), &extent)) return {};
    return {extent.cx, extent.cy};
}

plugin::Picture Win32WatermarkGraphics::RenderText(const plugin::TextFont& font, std::string_view text, int x, int y) {
    constexpr int kSide = plugin::kTextPictureSide;
    plugin::Picture picture;
    picture.width = picture.height = kSide;
    picture.pixels.assign(picture.Stride() * kSide, 0xFF);
    const ScreenDc screen;
    const ScopedMemoryDc memory(CreateCompatibleDC(screen.get()), MemoryDcDeleter{});
    if (!memory) return picture;
    BITMAPINFO info = PictureInfo(kSide, kSide);
    void* bits = nullptr;
    const ScopedGdiObject canvas(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0),
                                 GdiObjectDeleter{});
    if (!canvas || !bits) return picture;
    const SelectedObject selectedCanvas(memory.get(), canvas.get());
    PatBlt(memory.get(), 0, 0, kSide, kSide, WHITENESS);
    const ScopedGdiObject made = MakeFont(screen.get(), font);
    {
        const SelectedObject selectedFont(memory.get(), made.get());
        SetTextAlign(memory.get(), TA_BASELINE | TA_LEFT);
        SetBkMode(memory.get(), OPAQUE);
        SetBkColor(memory.get(), RGB(255, 255, 255));
        SetTextColor(memory.get(), RGB(0, 0, 0));
        const RECT clip{0, 0, kSide, kSide};
        const std::wstring wide = win32::Utf8ToWide(text);
        ExtTextOutW(memory.get(), x, y, ETO_CLIPPED, &clip, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
    }
    GdiFlush();
    std::memcpy(picture.pixels.data(), bits, picture.pixels.size());
    return picture;
}

plugin::PixelSize Win32WatermarkGraphics::FrameSize() {
    RECT client{};
    if (!GetClientRect(GetDlgItem(page_, frameId_), &client)) return {};
    return {client.right - client.left, client.bottom - client.top};
}

void Win32WatermarkGraphics::PaintFrame(const plugin::Picture& picture, std::span<const plugin::Blit> blits,
                                        bool text) {
    HWND frame = GetDlgItem(page_, frameId_);
    if (!frame) return;
    HDC dc = paintDc_ ? paintDc_ : GetDC(frame);
    if (!dc) return;
    RECT client{};
    GetClientRect(frame, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!picture.pixels.empty() && picture.pixels.size() >= picture.Stride() * picture.height) {
        const BITMAPINFO info = PictureInfo(picture.width, picture.height);
        const int oldMode = SetStretchBltMode(dc, text ? BLACKONWHITE : COLORONCOLOR);
        for (const plugin::Blit& blit : blits) {
            // A bottom-up picture counts its source rows from the bottom.
            const int fromBottom = picture.height - (blit.source.y + blit.source.height);
            StretchDIBits(dc, blit.target.x, blit.target.y, blit.target.width, blit.target.height, blit.source.x,
                          fromBottom, blit.source.width, blit.source.height, picture.pixels.data(), &info,
                          DIB_RGB_COLORS, SRCCOPY);
        }
        if (oldMode) SetStretchBltMode(dc, oldMode);
    }
    if (!paintDc_) ReleaseDC(frame, dc);
}

}  // namespace plugin_win32
