#pragma once
// System DLLs that are not among the system's KnownDLLs, bound at run time by
// their full path in the system directory. A program that imports such a DLL
// by name loads a file of that name from its own folder first, and Setup and
// Desinstalar run with administrator rights from whatever folder the package
// was unpacked into.
#include <windows.h>

#include "win32/scoped_win32.h"

namespace win32 {

// LoadLibrary of the system directory + "\" + `fileName`; empty when it
// cannot be loaded (the last error says why).
ScopedLibrary LoadSystemLibrary(const char* fileName);

// Where the system allows it, restricts every later load by name, the system's
// own libraries' loads included, to the system directory
// (SetDefaultDllDirectories); where it only has SetDllDirectory, takes the
// current folder out of the search. Older systems have neither. The first
// thing Setup and Desinstalar do.
void RestrictDllSearch();

// One entry point of a library bound at run time. Called while unbound it
// fails as a missing function would: it returns the result type's zero
// (FALSE, a null handle) with ERROR_PROC_NOT_FOUND as the last error.
template <typename Fn>
class Entry;

template <typename Result, typename... Args>
class Entry<Result(WINAPI*)(Args...)> {
public:
    void Bind(HMODULE library, const char* name) {
        fn_ = library
                  ? reinterpret_cast<Result(WINAPI*)(Args...)>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                  : nullptr;
    }
    explicit operator bool() const { return fn_ != nullptr; }
    Result operator()(Args... args) const {
        if (!fn_) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return Result{};
        }
        return fn_(args...);
    }

private:
    Result(WINAPI* fn_)(Args...) = nullptr;
};

}  // namespace win32
