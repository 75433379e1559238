#pragma once
// What the package's stand-ins share: they keep their configuration and their
// record of what they were asked beside themselves.
#include <windows.h>

#include <string>

namespace standin {

// The folder of `module` (the program when null), with its trailing
// backslash; empty on failure.
inline std::string ModuleFolder(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Appends `line` to the file at `path`, creating it when missing. Appending
// whole lines with one write keeps a record readable while a test reads it.
inline void AppendLine(const std::string& path, const std::string& line) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace standin
