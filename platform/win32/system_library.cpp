#include "win32/system_library.h"

#include <string>

namespace win32 {

ScopedLibrary LoadSystemLibrary(const char* fileName) {
    char system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return ScopedLibrary();
    std::string path(system, length);
    if (path.back() != '\\') path += '\\';
    path += fileName;
    return ScopedLibrary(LoadLibraryA(path.c_str()), LibraryCloser{});
}

void RestrictDllSearch() {
    // kernel32 is loaded in every process; both functions are looked up by
    // name because Windows 98/Me, NT 4.0 and XP before SP1 lack them.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    Entry<BOOL(WINAPI*)(DWORD)> setDefaultDirectories;
    setDefaultDirectories.Bind(kernel, "SetDefaultDllDirectories");
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    Entry<BOOL(WINAPI*)(LPCWSTR)> setDirectory;
    setDirectory.Bind(kernel, "SetDllDirectoryW");
    if (setDirectory) (void)setDirectory(L"");
}

}  // namespace win32
