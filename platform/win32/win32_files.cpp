#include "win32/win32_files.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "win32/encoding.h"

namespace win32 {

std::optional<std::string> Win32Files::VersionText(std::string_view path) {
    const std::string file = Utf8ToAnsi(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> info(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, info.data())) return std::nullopt;
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation)) {
        return std::nullopt;
    }
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileVersion", translations[0].language,
                  translations[0].codePage);
    char* text = nullptr;
    if (!VerQueryValueA(info.data(), query, reinterpret_cast<void**>(&text), &length) || !text || length == 0) {
        return std::nullopt;
    }
    return AnsiToUtf8(std::string_view(text, strnlen(text, length)));
}

bool Win32Files::SetArchiveAttribute(std::string_view path) {
    return SetFileAttributesA(Utf8ToAnsi(path).c_str(), FILE_ATTRIBUTE_ARCHIVE) != FALSE;
}

}  // namespace win32
