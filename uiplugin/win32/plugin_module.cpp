#include "win32/plugin_module.h"

#include "resource.h"
#include "win32/manifest_context.h"

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

HANDLE ActivationContext() {
    if (!activationContextTried_) {
        activationContextTried_ = true;
        activationContext_ = win32::CreateManifestContext(module_, IDR_CONTROLS_MANIFEST);
    }
    return activationContext_ == INVALID_HANDLE_VALUE ? nullptr : activationContext_;
}

void ReleaseActivationContext() {
    win32::ReleaseManifestContext(activationContext_);
    activationContext_ = INVALID_HANDLE_VALUE;
}

}  // namespace plugin_win32
