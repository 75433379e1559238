#include "win32/win32_files_install.h"

#include <windows.h>
// <windows.h> maps this name to its A or W function; here it names the
// port's operation.
#undef CopyFile

#include <vector>

#include "win32/encoding.h"
#include "text.h"
#include "win32/last_error.h"
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

std::optional<std::string> Win32FilesInstall::VersionText(std::string_view path) {
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

bool Win32FilesInstall::FileExists(std::string_view path) {
    return GetFileAttributesA(Utf8ToAnsi(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

plat::Error Win32FilesInstall::CopyFile(std::string_view source, std::string_view destination, bool failIfExists) {
    if (CopyFileA(Utf8ToAnsi(source).c_str(), Utf8ToAnsi(destination).c_str(), failIfExists ? TRUE : FALSE)) {
        return ERROR_SUCCESS;
    }
    return LastErrorOfFailure();
}

plat::Error Win32FilesInstall::CreateFolder(std::string_view path) {
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

}  // namespace win32
