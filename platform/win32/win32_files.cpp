#include "win32/win32_files.h"

#include <windows.h>
// <windows.h> maps these names to their A or W function; here they name the
// port's operations.
#undef CopyFile
#undef DeleteFile

#include <vector>

#include "win32/encoding.h"
#include "text.h"
#include "win32/last_error.h"
#include "win32/scoped_win32.h"
#include "win32/system_library.h"

namespace win32 {

namespace {
// version.dll is no KnownDLL: imported by name it would be looked for beside
// the program first. Bound once by its full path; a missing library reads as
// a file without a version resource.
struct VersionApi {
    ScopedLibrary library = LoadSystemLibrary("version.dll");
    Entry<decltype(&::GetFileVersionInfoSizeA)> GetFileVersionInfoSizeA;
    Entry<decltype(&::GetFileVersionInfoA)> GetFileVersionInfoA;
    Entry<decltype(&::VerQueryValueA)> VerQueryValueA;

    VersionApi() {
        GetFileVersionInfoSizeA.Bind(library.get(), "GetFileVersionInfoSizeA");
        GetFileVersionInfoA.Bind(library.get(), "GetFileVersionInfoA");
        VerQueryValueA.Bind(library.get(), "VerQueryValueA");
    }
};

const VersionApi& Version() {
    static const VersionApi api;
    return api;
}
}  // namespace

std::optional<std::string> Win32Files::VersionText(std::string_view path) {
    const std::string file = Utf8ToAnsi(path);
    DWORD ignored = 0;
    const DWORD size = Version().GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> info(size);
    if (!Version().GetFileVersionInfoA(file.c_str(), 0, size, info.data())) return std::nullopt;
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!Version().VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                                  &length) ||
        length < sizeof(Translation)) {
        return std::nullopt;
    }
    const std::string query = "\\StringFileInfo\\" + plat::HexText(translations[0].language, 4, false) +
                              plat::HexText(translations[0].codePage, 4, false) + "\\FileVersion";
    char* text = nullptr;
    if (!Version().VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || !text ||
        length == 0) {
        return std::nullopt;
    }
    return AnsiToUtf8(std::string_view(text, strnlen(text, length)));
}

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

bool Win32Files::FileExists(std::string_view path) {
    return GetFileAttributesA(Utf8ToAnsi(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

plat::Error Win32Files::CopyFile(std::string_view source, std::string_view destination, bool failIfExists) {
    if (CopyFileA(Utf8ToAnsi(source).c_str(), Utf8ToAnsi(destination).c_str(), failIfExists ? TRUE : FALSE)) {
        return ERROR_SUCCESS;
    }
    return LastErrorOfFailure();
}

plat::Error Win32Files::DeleteFile(std::string_view path) {
    return DeleteFileA(Utf8ToAnsi(path).c_str()) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Files::CreateFolder(std::string_view path) {
    const std::string folder = Utf8ToAnsi(path);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return ERROR_SUCCESS;
    const long error = LastErrorOfFailure();
    // 183 names any entry of that name; only a folder is what was asked for.
    if (error == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return ERROR_SUCCESS;
        }
    }
    return error;
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
