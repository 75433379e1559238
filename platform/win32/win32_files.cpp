#include "win32/win32_files.h"

#include <windows.h>
// <windows.h> maps this name to its A or W function; here it names the
// port's operation.
#undef DeleteFile

#include <vector>

#include "win32/encoding.h"
#include "win32/last_error.h"
#include "win32/scoped_win32.h"

namespace win32 {

bool Win32Files::SetArchiveAttribute(std::string_view path) {
    return SetFileAttributesA(Utf8ToAnsi(path).c_str(), FILE_ATTRIBUTE_ARCHIVE) != FALSE;
}

// Only the attributes SetFileAttributes takes are handed back; with none of
// them left the file is made normal.
plat::Error Win32Files::ClearReadOnly(std::string_view path) {
    const std::string file = Utf8ToAnsi(path);
    const DWORD attributes = GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastErrorOfFailure();
    if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return ERROR_SUCCESS;
    constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
    const DWORD kept = attributes & kSettable;
    return SetFileAttributesA(file.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL) ? ERROR_SUCCESS
                                                                                      : LastErrorOfFailure();
}

plat::Error Win32Files::DeleteFile(std::string_view path) {
    return DeleteFileA(Utf8ToAnsi(path).c_str()) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Files::ListFolder(std::string_view folder, std::vector<std::string>* names) {
    const std::string pattern = Utf8ToAnsi(folder) + "*.*";
    WIN32_FIND_DATAA entry{};
    ScopedFind find(FindBits(FindFirstFileA(pattern.c_str(), &entry)), FindCloser{});
    if (!find) return LastErrorOfFailure();
    std::vector<std::string> listed;
    do {
        listed.push_back(AnsiToUtf8(std::string_view(entry.cFileName, strnlen(entry.cFileName, MAX_PATH))));
    } while (FindNextFileA(FindHandle(find), &entry));
    // The walk ends with "no more files"; anything else cut it short, and a
    // partial list would pass for the whole folder.
    if (GetLastError() != ERROR_NO_MORE_FILES) return LastErrorOfFailure();
    *names = std::move(listed);
    return ERROR_SUCCESS;
}

}  // namespace win32
