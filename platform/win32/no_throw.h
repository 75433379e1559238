#pragma once
// Exceptions stop where Windows calls in: a dialog or window procedure, a COM
// method, an exported entry point, a thread's entry. Beyond that edge lies
// system code that cannot unwind C++ frames, so each edge turns any exception
// into the failure result it has.
#include <windows.h>

#include <new>

namespace win32 {

// `body()`, or `failure` when it throws.
template <typename Result, typename Body>
Result CallNoThrow(Result failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

// A COM method's body: E_OUTOFMEMORY (last error ERROR_NOT_ENOUGH_MEMORY)
// when memory runs out, E_FAIL for any other exception.
template <typename Body>
HRESULT CallComNoThrow(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// What the user reads when a handler of one of Setup's dialogs fails.
extern const wchar_t* const kInternalErrorText;

// Tells the user that a handler of `window` failed, in a message box titled
// like the window's top-level window (untitled without a window). It
// allocates nothing, so it still works when memory has run out, and shows one
// box at a time: a failing paint handler does not stack them up.
void ReportInternalError(HWND window) noexcept;

}  // namespace win32
