#pragma once
// What the spooler adapters share: <winspool.h> with its A/W names undone,
// ANSI text in and out, and the spooler's size-query protocol.
#include <windows.h>
#include <winspool.h>
// <winspool.h> maps these names to their A or W function; here they name the
// port's operations, and the A functions are called by their own names.
#undef AddMonitor
#undef AddPrinter
#undef AddPrinterDriver
#undef AddPrintProcessor
#undef DeleteMonitor
#undef DeletePrinterDriver
#undef DeletePrinterDriverEx
#undef DeletePrintProcessor
#undef EnumMonitors
#undef EnumPorts
#undef EnumPrinters
#undef EnumPrintProcessors
#undef GetPrinter
#undef GetPrinterDriverDirectory
#undef GetPrintProcessorDirectory
#undef OpenPrinter
#undef SetDefaultPrinter

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ports/spooler.h"
#include "win32/encoding.h"
#include "win32/last_error.h"
#include "win32/scoped_win32.h"

namespace win32::spooler_calls {

inline HANDLE Handle(plat::PrinterHandle printer) {
    return reinterpret_cast<HANDLE>(printer);
}

// A text argument in the ANSI code page; an empty one is passed as none.
class AnsiArg {
public:
    explicit AnsiArg(std::string_view utf8) : text_(Utf8ToAnsi(utf8)), none_(utf8.empty()) {}
    char* get() { return none_ ? nullptr : text_.data(); }
    // The text itself even when empty ("" rather than none).
    char* text() { return text_.data(); }

private:
    std::string text_;
    bool none_;
};

inline std::string FromAnsi(const char* text) {
    return text ? AnsiToUtf8(text) : std::string();
}

// A level-1 directory query of the local server and environment.
template <typename Query>
long Directory(Query query, std::string* directory) {
    char path[MAX_PATH * 2] = {};
    DWORD needed = 0;
    if (!query(reinterpret_cast<BYTE*>(path), static_cast<DWORD>(sizeof path), &needed)) return LastErrorOfFailure();
    std::string folder(path, strnlen(path, sizeof path));
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    *directory = AnsiToUtf8(folder);
    return ERROR_SUCCESS;
}

// The spooler's size-query protocol: a first call with no buffer tells the
// size, a zero-filled global block of that size receives the data. `call`
// takes (buffer, size, &needed). On success *block holds the data.
template <typename Call>
long QueryIntoGlobal(Call call, ScopedGlobal* block) {
    DWORD needed = 0;
    // A size query that fails without a code must not pass for "give me a
    // buffer" through an error left over from an earlier call.
    SetLastError(ERROR_SUCCESS);
    if (call(nullptr, 0, &needed)) {
        // Nothing to report: an empty block.
        needed = 1;
    } else if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return LastErrorOfFailure();
    }
    if (needed == 0) return ERROR_GEN_FAILURE;
    // A list can grow between the size query and the call that fills it (a
    // printer added meanwhile): the spooler then asks for more, and gets it a
    // few times before the failure stands.
    for (int attempt = 0;; ++attempt) {
        ScopedGlobal buffer = ZeroedGlobal(needed);
        if (!buffer) return ERROR_NOT_ENOUGH_MEMORY;
        const DWORD size = needed;
        if (call(static_cast<BYTE*>(buffer.get()), size, &needed)) {
            *block = std::move(buffer);
            return ERROR_SUCCESS;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size || attempt == 2) {
            return LastErrorOfFailure();
        }
    }
}

// The names an enumeration returns, each `name` of an `Info` structure.
template <typename Info, typename Call>
long EnumNames(Call call, LPSTR Info::*name, std::vector<std::string>* names) {
    DWORD count = 0;
    ScopedGlobal block;
    const long result = QueryIntoGlobal(
        [&](BYTE* buffer, DWORD size, DWORD* needed) { return call(buffer, size, needed, &count); }, &block);
    if (result != ERROR_SUCCESS) return result;
    const auto* items = static_cast<const Info*>(block.get());
    std::vector<std::string> read;
    read.reserve(count);
    for (DWORD i = 0; i < count; ++i) read.push_back(FromAnsi(items[i].*name));
    *names = std::move(read);
    return ERROR_SUCCESS;
}

// GetPrinter, level 2, into a global block; `getPrinter` is the bound
// GetPrinterA of the adapter's own binding.
template <typename GetPrinterFn>
long GetPrinterInfo2(const GetPrinterFn& getPrinter, HANDLE printer, ScopedGlobal* block) {
    return QueryIntoGlobal(
        [&getPrinter, printer](BYTE* buffer, DWORD size, DWORD* needed) {
            return getPrinter(printer, 2, buffer, size, needed) != FALSE;
        },
        block);
}

}  // namespace win32::spooler_calls
