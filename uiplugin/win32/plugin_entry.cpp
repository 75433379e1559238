// Entry points of the plug-in library: the driver asks DllGetClassObject for
// the class factory of its one class and unloads the library when
// DllCanUnloadNow allows it.
#include <windows.h>

#include <new>

#include "win32/class_factory.h"
#include "win32/no_throw.h"
#include "win32/oem_interfaces.h"
#include "win32/plugin_module.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        plugin_win32::SetModuleHandle(module);
        DisableThreadLibraryCalls(module);
    } else if (reason == DLL_PROCESS_DETACH) {
        plugin_win32::ReleaseActivationContext();
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* object) {
    return win32::CallComNoThrow([&] {
        if (!IsEqualCLSID(classId, kPluginClassId)) return CLASS_E_CLASSNOTAVAILABLE;
        auto* factory = new (std::nothrow) plugin_win32::ClassFactory();
        if (!factory) return E_OUTOFMEMORY;
        const HRESULT result = factory->QueryInterface(iid, object);
        factory->Release();
        return result;
    });
}

STDAPI DllCanUnloadNow() {
    return plugin_win32::CanUnload() ? S_OK : S_FALSE;
}

}  // extern "C"
