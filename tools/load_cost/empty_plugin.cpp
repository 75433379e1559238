// The smallest library a user-interface plug-in could be, built with the same
// toolchain and options as the real one: the yardstick its load cost is
// measured against. Its class factory is one static object.
#include <windows.h>

#include <objbase.h>

namespace {

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID, REFIID iid, LPVOID* object) {
    return factory.QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() {
    return S_OK;
}

}  // extern "C"
