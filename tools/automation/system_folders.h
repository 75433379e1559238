#pragma once
// The folders the Wine tests look into after an installation: the spooler's
// driver and print-processor directories and the system directory.
#include <windows.h>
#include <winspool.h>

#include <string>

namespace automation {

inline std::wstring DriverDirectory() {
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed);
    return folder;
}

inline std::wstring ProcessorDirectory() {
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrintProcessorDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed);
    return folder;
}

inline std::wstring SystemDirectory() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

}  // namespace automation
