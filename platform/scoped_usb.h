#pragma once
// The USB library port loaded, and a device it opened, each released through
// the port when its owner goes.
#include <string>
#include <vector>

#include "ports/usb_library.h"
#include "scoped_handle.h"

namespace plat {

// Holds the library while it is loaded; unloads it on every way out.
struct UsbLibraryUnloader {
    void operator()(UsbLibrary* library) const { library->Unload(); }
};
using LoadedUsbLibrary = ScopedHandle<UsbLibrary*, UsbLibraryUnloader>;

// The library loaded from the first of `paths` that loads; empty when none does.
inline LoadedUsbLibrary LoadUsbLibrary(UsbLibrary& library, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (library.Load(path)) return LoadedUsbLibrary(&library, UsbLibraryUnloader{});
    }
    return LoadedUsbLibrary();
}

struct UsbDeviceCloser {
    UsbLibrary* library = nullptr;
    void operator()(UsbDevice device) const { library->CloseDevice(device); }
};
using ScopedUsbDevice = ScopedHandle<UsbDevice, UsbDeviceCloser>;

inline ScopedUsbDevice OwnedUsbDevice(UsbLibrary& library, UsbDevice device) {
    return ScopedUsbDevice(device, UsbDeviceCloser{&library});
}

}  // namespace plat
