#include "win32/plugin_module.h"

#include "resource.h"

namespace plugin_win32 {

namespace {
HINSTANCE module_ = nullptr;
volatile LONG objects_ = 0;
volatile LONG locks_ = 0;
HANDLE activationContext_ = INVALID_HANDLE_VALUE;
bool activationContextTried_ = false;
}  // namespace

HINSTANCE ModuleHandle() {
    return module_;
}
void SetModuleHandle(HINSTANCE module) {
    module_ = module;
}

void ObjectCreated() {
    InterlockedIncrement(&objects_);
}
void ObjectDestroyed() {
    InterlockedDecrement(&objects_);
}
void LockServer(bool lock) {
    if (lock) {
        InterlockedIncrement(&locks_);
    } else {
        InterlockedDecrement(&locks_);
    }
}
bool CanUnload() {
    return InterlockedCompareExchange(&objects_, 0, 0) == 0 && InterlockedCompareExchange(&locks_, 0, 0) == 0;
}

// Activation contexts are bound by name: Windows before XP has none, and the
// library must still load there.
template <typename Function>
Function KernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

HANDLE ActivationContext() {
    if (!activationContextTried_) {
        activationContextTried_ = true;
        auto create = KernelFunction<HANDLE(WINAPI*)(PCACTCTXW)>("CreateActCtxW");
        if (create) {
            wchar_t path[MAX_PATH] = {};
            GetModuleFileNameW(module_, path, MAX_PATH);
            ACTCTXW context{};
            context.cbSize = sizeof context;
            context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
            context.lpSource = path;
            context.lpResourceName = MAKEINTRESOURCEW(IDR_CONTROLS_MANIFEST);
            context.hModule = module_;
            activationContext_ = create(&context);
        }
    }
    return activationContext_ == INVALID_HANDLE_VALUE ? nullptr : activationContext_;
}

void ReleaseActivationContext() {
    auto release = KernelFunction<void(WINAPI*)(HANDLE)>("ReleaseActCtx");
    if (activationContext_ != INVALID_HANDLE_VALUE && release) {
        release(activationContext_);
        activationContext_ = INVALID_HANDLE_VALUE;
    }
}

}  // namespace plugin_win32
