#include "win32/win32_logo_files.h"

#include <commdlg.h>

#include <algorithm>
#include <new>
#include <string>

#include "scoped_handle.h"
#include "win32/encoding.h"
#include "win32/manifest_context.h"
#include "win32/plugin_module.h"
#include "win32/scoped_win32.h"

namespace plugin_win32 {
namespace {

// Path and file-name buffers of the open-file dialog, in characters.
constexpr DWORD kPathChars = 1024;

win32::ScopedFile OpenForReading(std::string_view path) {
    const std::wstring wide = win32::Utf8ToWide(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return win32::OwnFile(file);
}

std::optional<std::uint64_t> SizeOf(const win32::ScopedFile& file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(win32::FileHandle(file), &size) || size.QuadPart < 0) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

// The dialog's filter: each text ended by a null, the whole by a second one.
std::wstring FilterText(const plugin::FileChoice& choice) {
    std::wstring filter;
    for (std::string_view part : choice.filters) {
        filter += win32::Utf8ToWide(part);
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

}  // namespace

std::optional<plugin::ChosenFile> Win32LogoFiles::ChooseFile(plat::WindowRef owner, const plugin::FileChoice& choice) {
    const std::wstring filter = FilterText(choice);
    const std::wstring title = win32::Utf8ToWide(choice.title);
    std::wstring path(kPathChars, L'\0');
    std::wstring name(kPathChars, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathChars;
    dialog.lpstrFileTitle = name.data();
    dialog.nMaxFileTitle = kPathChars;
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();  // none: the system's own
    dialog.Flags = OFN_LONGNAMES | OFN_CREATEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    BOOL chosen = FALSE;
    {
        const win32::ActivatedContext activation(ActivationContext());
        chosen = GetOpenFileNameW(&dialog);
    }
    if (!chosen) return std::nullopt;
    path.resize(wcsnlen(path.c_str(), kPathChars));
    name.resize(wcsnlen(name.c_str(), kPathChars));
    return plugin::ChosenFile{win32::WideToUtf8(path), win32::WideToUtf8(name)};
}

std::optional<std::uint64_t> Win32LogoFiles::Size(std::string_view path) {
    const win32::ScopedFile file = OpenForReading(path);
    if (!file) return std::nullopt;
    return SizeOf(file);
}

plugin::FileRead Win32LogoFiles::Read(std::string_view path, std::uint64_t maxBytes) {
    using plugin::FileReadError;
    const win32::ScopedFile file = OpenForReading(path);
    if (!file) return {FileReadError::kOpenFailed, {}, static_cast<long>(GetLastError())};
    const std::optional<std::uint64_t> size = SizeOf(file);
    if (!size) return {FileReadError::kSizeFailed, {}, static_cast<long>(GetLastError())};
    if (*size > maxBytes) return {FileReadError::kTooLarge, {}};
    plugin::FileRead read;
    try {
        read.bytes.resize(static_cast<std::size_t>(*size));
    } catch (const std::bad_alloc&) {
        return {FileReadError::kTooLarge, {}};
    }
    // The file as it is now: it may have shrunk since its size was taken.
    std::size_t done = 0;
    while (done < read.bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(read.bytes.size() - done, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(win32::FileHandle(file), read.bytes.data() + done, want, &got, nullptr)) {
            return {FileReadError::kReadFailed, {}, static_cast<long>(GetLastError())};
        }
        if (got == 0) return {FileReadError::kReadFailed, {}, ERROR_HANDLE_EOF};  // shrunk since its size was taken
        done += got;
    }
    return read;
}

void DrawLogoPreview(const DRAWITEMSTRUCT& item, const std::optional<std::string>& path) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!path) return;
    const std::wstring wide = win32::Utf8ToWide(*path);
    const win32::ScopedGdiObject bitmap(
        LoadImageW(nullptr, wide.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE),
        win32::GdiObjectDeleter{});
    if (!bitmap) return;
    BITMAP shape{};
    if (!GetObjectW(bitmap.get(), sizeof shape, &shape)) return;
    const win32::ScopedMemoryDc memory(CreateCompatibleDC(item.hDC), win32::MemoryDcDeleter{});
    if (!memory) return;
    const win32::SelectedObject picture(memory.get(), bitmap.get());
    if (!picture.ok()) return;
    const int oldMode = SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
               item.rcItem.bottom - item.rcItem.top, memory.get(), 0, 0, shape.bmWidth, shape.bmHeight, SRCCOPY);
    if (oldMode) SetStretchBltMode(item.hDC, oldMode);
}

}  // namespace plugin_win32
