#include "win32/class_factory.h"

#include <new>

#include "win32/no_throw.h"
#include "win32/plugin_module.h"
#include "win32/plugin_object.h"

namespace plugin_win32 {

HRESULT STDMETHODCALLTYPE ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ClassFactory::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE ClassFactory::Release() {
    const LONG count = InterlockedDecrement(&references_);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    return win32::CallComNoThrow([&] {
        if (!object) return E_POINTER;
        if (outer) {
            *object = nullptr;
            return CLASS_E_NOAGGREGATION;
        }
        auto* plugin = new (std::nothrow) PluginObject();
        if (!plugin) return E_OUTOFMEMORY;
        const HRESULT result = plugin->QueryInterface(iid, object);
        plugin->Release();
        return result;
    });
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock) {
    plugin_win32::LockServer(lock != FALSE);
    return S_OK;
}

}  // namespace plugin_win32
