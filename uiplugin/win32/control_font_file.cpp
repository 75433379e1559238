#include "win32/control_font_file.h"

#include <windows.h>
#include <winspool.h>

#include "win32/encoding.h"

namespace plugin_win32 {

namespace {
// The 32-bit driver folder on every system: the rendering side that reads
// the file is the x86 driver's, version 3.
constexpr wchar_t kEnvironment[] = L"Windows NT x86";
constexpr wchar_t kDriverVersionFolder[] = L"\\3\\";

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The file where the new table is written before it takes the old one's place.
std::wstring NewFilePath(const std::wstring& path) {
    return path + L".new";
}
}  // namespace

std::wstring ControlFontFilePath() {
    wchar_t folder[MAX_PATH + 1] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(kEnvironment), 1, reinterpret_cast<BYTE*>(folder),
                                    sizeof folder, &needed)) {
        return {};
    }
    return std::wstring(folder) + kDriverVersionFolder + win32::Utf8ToWide(plugin::kControlFontFileName);
}

std::string Win32ControlFontFile::Read(std::string_view key) {
    const std::wstring path = ControlFontFilePath();
    if (path.empty()) return {};
    const std::wstring section = win32::Utf8ToWide(plugin::kControlFontSection);
    const std::wstring name = win32::Utf8ToWide(key);
    // Room for the longest command the dialogs write (128 bytes, three
    // characters each); a longer value written by hand is read whole too.
    for (DWORD size = 400;; size *= 2) {
        std::wstring value(size, L'\0');
        const DWORD length =
            GetPrivateProfileStringW(section.c_str(), name.c_str(), L"", value.data(), size, path.c_str());
        if (length + 1 < size || size >= 65536) {
            value.resize(length);
            return win32::WideToUtf8(value);
        }
    }
}

bool Win32ControlFontFile::WriteAll(const std::vector<plugin::ControlFontEntry>& entries) {
    const std::wstring path = ControlFontFilePath();
    if (path.empty()) return false;
    if (entries.empty()) {
        // No commands: no file, as after deleting every row.
        return DeleteFileW(path.c_str()) || IsMissing(GetLastError());
    }
    const std::wstring newPath = NewFilePath(path);
    DeleteFileW(newPath.c_str());  // a leftover of an earlier failure
    const std::wstring section = win32::Utf8ToWide(plugin::kControlFontSection);
    bool written = true;
    for (const auto& [key, value] : entries) {
        if (!WritePrivateProfileStringW(section.c_str(), win32::Utf8ToWide(key).c_str(),
                                        win32::Utf8ToWide(value).c_str(), newPath.c_str())) {
            written = false;
            break;
        }
    }
    // Flushes what the profile functions may still hold of the new file.
    if (written) WritePrivateProfileStringW(nullptr, nullptr, nullptr, newPath.c_str());
    if (written && MoveFileExW(newPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(newPath.c_str());
    return false;
}

}  // namespace plugin_win32
