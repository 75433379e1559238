#pragma once
#include <windows.h>

namespace win32 {

// The error of a call that reported failure, as a port result. A failure
// that left no code still has to read as one.
inline long LastErrorOfFailure() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? static_cast<long>(error) : ERROR_GEN_FAILURE;
}

}  // namespace win32
