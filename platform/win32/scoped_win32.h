#pragma once
// The Win32 handles the adapters obtain, each owned by plat::ScopedHandle with
// the function that releases it, so that every path out of a routine gives
// back what the routine took.
#include <windows.h>

#include <cstdint>

#include "scoped_handle.h"

namespace win32 {

// ClosePrinter lives in <winspool.h>, whose A/W macros collide with the names
// of the spooler ports; its closer is defined out of line.
struct PrinterCloser {
    void operator()(HANDLE printer) const;
};
struct ServiceCloser {
    void operator()(SC_HANDLE service) const { CloseServiceHandle(service); }
};
struct LibraryCloser {
    void operator()(HMODULE library) const { FreeLibrary(library); }
};
struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
struct GlobalCloser {
    void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
struct KernelCloser {
    void operator()(HANDLE object) const { CloseHandle(object); }
};
struct SidCloser {
    void operator()(PSID sid) const { FreeSid(sid); }
};

using ScopedPrinter = plat::ScopedHandle<HANDLE, PrinterCloser>;
using ScopedService = plat::ScopedHandle<SC_HANDLE, ServiceCloser>;
using ScopedLibrary = plat::ScopedHandle<HMODULE, LibraryCloser>;
using ScopedKey = plat::ScopedHandle<HKEY, KeyCloser>;
using ScopedGlobal = plat::ScopedHandle<HGLOBAL, GlobalCloser>;
// Tokens, mutexes, events: handles whose none is 0.
using ScopedKernelHandle = plat::ScopedHandle<HANDLE, KernelCloser>;
using ScopedSid = plat::ScopedHandle<PSID, SidCloser>;

// Find handles say "none" with INVALID_HANDLE_VALUE, a pointer value that
// cannot be a template argument; they are held as its integer.
constexpr std::uintptr_t kInvalidHandleBits = ~std::uintptr_t{0};
struct FindCloser {
    void operator()(std::uintptr_t find) const { FindClose(reinterpret_cast<HANDLE>(find)); }
};
using ScopedFind = plat::ScopedHandle<std::uintptr_t, FindCloser, kInvalidHandleBits>;
inline std::uintptr_t FindBits(HANDLE find) {
    return reinterpret_cast<std::uintptr_t>(find);
}
inline HANDLE FindHandle(const ScopedFind& find) {
    return reinterpret_cast<HANDLE>(find.get());
}

// Files opened with CreateFile say "none" the same way.
struct FileCloser {
    void operator()(std::uintptr_t file) const { CloseHandle(reinterpret_cast<HANDLE>(file)); }
};
using ScopedFile = plat::ScopedHandle<std::uintptr_t, FileCloser, kInvalidHandleBits>;
inline ScopedFile OwnFile(HANDLE file) {
    return ScopedFile(reinterpret_cast<std::uintptr_t>(file), FileCloser{});
}
inline HANDLE FileHandle(const ScopedFile& file) {
    return reinterpret_cast<HANDLE>(file.get());
}

// GDI: objects (bitmaps, fonts, brushes) and memory DCs.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using ScopedGdiObject = plat::ScopedHandle<HGDIOBJ, GdiObjectDeleter>;
using ScopedMemoryDc = plat::ScopedHandle<HDC, MemoryDcDeleter>;

// An object selected into a DC for as long as this lives; the DC's former
// object is put back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (ok()) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    bool ok() const { return old_ && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A zero-filled block of `size` bytes (GlobalAlloc with GMEM_ZEROINIT, fixed,
// so the handle is its address); none when memory is short.
inline ScopedGlobal ZeroedGlobal(SIZE_T size) {
    return ScopedGlobal(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size), GlobalCloser{});
}

}  // namespace win32
