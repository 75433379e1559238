#pragma once
// What the package's stand-ins share: they keep their configuration and their
// record of what they were asked beside themselves.
#include <windows.h>

#include <string>

namespace standin {

// The full path of `module` (the program when null); empty on failure.
inline std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(path, length);
}

// The folder of `module` (the program when null), with its trailing
// backslash; empty on failure.
inline std::string ModuleFolder(HMODULE module) {
    const std::string path = ModulePath(module);
    return path.substr(0, path.find_last_of('\\') + 1);
}

// Where a stand-in DLL records the calls it receives: its own path with the
// extension ".log" ("C:\windows\system32\KTRCOMMN.log").
inline std::string CallLogPath(HMODULE module) {
    const std::string path = ModulePath(module);
    const auto dot = path.find_last_of('.');
    return path.empty() || dot == std::string::npos ? std::string() : path.substr(0, dot) + ".log";
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
