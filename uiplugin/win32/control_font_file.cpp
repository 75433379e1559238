#include "win32/control_font_file.h"

#include <windows.h>
#include <winspool.h>

#include "win32/encoding.h"
#include "win32/scoped_win32.h"

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

// The table as a profile file of one section. It is written directly rather
// than key by key through the profile functions: those may drop the blank
// that ends every edited command, and the file is new every time anyway.
std::string ProfileText(const std::vector<plugin::ControlFontEntry>& entries) {
    std::string text = "[" + std::string(plugin::kControlFontSection) + "]\r\n";
    for (const auto& [key, value] : entries) text += win32::Utf8ToAnsi(key) + "=" + win32::Utf8ToAnsi(value) + "\r\n";
    return text;
}

// `text` as the whole of a new file at `path`, on the disk when it returns true.
bool WriteNewFile(const std::wstring& path, const std::string& text) {
    win32::ScopedFile file = win32::OwnFile(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const HANDLE handle = win32::FileHandle(file);
    DWORD written = 0;
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size() && FlushFileBuffers(handle);
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
    if (WriteNewFile(newPath, ProfileText(entries)) &&
        MoveFileExW(newPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(newPath.c_str());
    return false;
}

}  // namespace plugin_win32
