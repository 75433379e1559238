// Entry points of the plug-in library. The driver asks DllGetClassObject for
// the plug-in's class factory; until the plug-in object exists every class is
// refused, and the library can always be unloaded.
#include <windows.h>
#include <objbase.h>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object) {
    if (object) *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    return S_OK;
}

}  // extern "C"
