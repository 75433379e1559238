#pragma once
// The entry points of the maker's USB access library MdUsbInt.dll, as Setup
// binds them by name and as the package's stand-in exports them. Like every
// other platform interface of the package they are WINAPI (__stdcall)
// functions exported under their plain names.
#include <windows.h>

namespace mdusbint {

// "OpenDeviceX": the device in slot 0..7; 0 and -1 (INVALID_HANDLE_VALUE)
// mean no device there.
using OpenDeviceXFn = HANDLE(WINAPI*)(int slot);
// "GetDescriptor": non-zero on success; the low 16 bits of *value are the
// printer's device value.
using GetDescriptorFn = int(WINAPI*)(HANDLE device, DWORD* value);
// "uWrite": sends `count` bytes; greater than 0 when they were sent.
using UWriteFn = int(WINAPI*)(HANDLE device, int reserved, const BYTE* bytes, int count);
// "CloseDevice": also called with the 0 and -1 that OpenDeviceX gave.
using CloseDeviceFn = void(WINAPI*)(HANDLE device);

constexpr int kSlotCount = 8;

}  // namespace mdusbint
