// A stand-in for the maker's USB access library MdUsbInt.dll. It simulates
// printers attached to the eight USB slots so that Setup's reading and
// writing of a printer's identity can run under Wine and in the demo without
// hardware. Everything comes from MdUsbInt.ini beside the library, read again
// at each call so that a test can change the attached printers between runs:
//
//   [Devices]      slot ("0".."7") = the printer's 32-bit device value (decimal)
//   [Fail]         OpenDeviceX, GetDescriptor, uWrite = 1 makes that call fail;
//                  NoDeviceValue = 0 or -1, what OpenDeviceX gives for no device
//
// No file or no slot keys means no printer is attached. Every uWrite appends
// one line to MdUsbInt.log beside the library, the evidence of the bytes sent.
// An identity command stores its new identity as the slot's device value.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "standin/standin_files.h"
#include "win32/md_usb_int_abi.h"

namespace {

// Handles are the slot plus a base, so they are distinct, never 0 or -1, and
// tell their slot back without any state kept between calls.
constexpr INT_PTR kHandleBase = 0x4D550;

// The identity command: ESC, five vendor bytes, GS 'I' ' ', then the new
// identity less one (0..7). The vendor bytes are the printer family's and are
// taken as they come.
constexpr int kIdentityCommandSize = 10;
constexpr int kIdentityCount = 8;

// The folder of this library, with its trailing backslash; empty on failure.
std::string OwnFolder() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&OwnFolder), &self)) {
        return {};
    }
    return standin::ModuleFolder(self);
}

std::string ConfigPath() {
    return OwnFolder() + "MdUsbInt.ini";
}

// The decimal number under `key`, or `fallback` when there is none.
long long ReadNumber(const char* section, const std::string& key, long long fallback) {
    char text[32] = {};
    GetPrivateProfileStringA(section, key.c_str(), "", text, sizeof text, ConfigPath().c_str());
    char* end = nullptr;
    const long long number = std::strtoll(text, &end, 10);
    return end == text ? fallback : number;
}

bool Fails(const char* call) {
    return ReadNumber("Fail", call, 0) == 1;
}

std::string SlotKey(int slot) {
    return std::to_string(slot);
}

// The configured device value of `slot`; false when no printer is there.
bool DeviceValue(int slot, DWORD* value) {
    const long long number = ReadNumber("Devices", SlotKey(slot), -1);
    if (number < 0) return false;
    *value = static_cast<DWORD>(number);
    return true;
}

// The slot a handle from OpenDeviceX stands for, or -1.
int SlotOf(HANDLE device) {
    const INT_PTR slot = reinterpret_cast<INT_PTR>(device) - kHandleBase;
    return slot >= 0 && slot < mdusbint::kSlotCount ? static_cast<int>(slot) : -1;
}

bool IsIdentityCommand(const BYTE* bytes, int count) {
    return count == kIdentityCommandSize && bytes[0] == 0x1B && bytes[6] == 0x1D && bytes[7] == 0x49 &&
           bytes[8] == 0x20 && bytes[9] < kIdentityCount;
}

void AppendLog(int slot, const BYTE* bytes, int count) {
    std::string line = "uWrite slot=" + std::to_string(slot) + " count=" + std::to_string(count) + " bytes=";
    for (int i = 0; i < count; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        if (i > 0) line += ' ';
        line += hex;
    }
    standin::AppendLine(OwnFolder() + "MdUsbInt.log", line + "\r\n");
}

}  // namespace

extern "C" {

HANDLE WINAPI OpenDeviceX(int slot) {
    const HANDLE noDevice = ReadNumber("Fail", "NoDeviceValue", 0) == -1 ? INVALID_HANDLE_VALUE : nullptr;
    DWORD value = 0;
    if (slot < 0 || slot >= mdusbint::kSlotCount || Fails("OpenDeviceX") || !DeviceValue(slot, &value)) {
        return noDevice;
    }
    return reinterpret_cast<HANDLE>(kHandleBase + slot);
}

int WINAPI GetDescriptor(HANDLE device, DWORD* value) {
    const int slot = SlotOf(device);
    DWORD configured = 0;
    if (slot < 0 || !value || Fails("GetDescriptor") || !DeviceValue(slot, &configured)) return 0;
    *value = configured;
    return 1;
}

int WINAPI uWrite(HANDLE device, int /*reserved*/, const BYTE* bytes, int count) {
    const int slot = SlotOf(device);
    DWORD unused = 0;
    if (slot < 0 || !bytes || count <= 0 || Fails("uWrite") || !DeviceValue(slot, &unused)) return 0;
    AppendLog(slot, bytes, count);
    if (IsIdentityCommand(bytes, count)) {
        WritePrivateProfileStringA("Devices", SlotKey(slot).c_str(), std::to_string(bytes[9]).c_str(),
                                   ConfigPath().c_str());
    }
    return count;
}

void WINAPI CloseDevice(HANDLE /*device*/) {}

}  // extern "C"

// The exported functions must keep the types Setup binds them with.
static_assert(std::is_same_v<decltype(&OpenDeviceX), mdusbint::OpenDeviceXFn>);
static_assert(std::is_same_v<decltype(&GetDescriptor), mdusbint::GetDescriptorFn>);
static_assert(std::is_same_v<decltype(&uWrite), mdusbint::UWriteFn>);
static_assert(std::is_same_v<decltype(&CloseDevice), mdusbint::CloseDeviceFn>);
