#include "win32/manifest_context.h"

namespace win32 {
namespace {

template <typename Function>
Function KernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

}  // namespace

HANDLE CreateManifestContext(HMODULE module, WORD manifestId) {
    auto create = KernelFunction<HANDLE(WINAPI*)(PCACTCTXW)>("CreateActCtxW");
    if (!create) return INVALID_HANDLE_VALUE;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    context.lpSource = path;
    context.lpResourceName = MAKEINTRESOURCEW(manifestId);
    context.hModule = module;
    return create(&context);
}

void ReleaseManifestContext(HANDLE context) {
    auto release = KernelFunction<void(WINAPI*)(HANDLE)>("ReleaseActCtx");
    if (context != INVALID_HANDLE_VALUE && release) release(context);
}

ActivatedContext::ActivatedContext(HANDLE context) {
    auto activate = KernelFunction<BOOL(WINAPI*)(HANDLE, ULONG_PTR*)>("ActivateActCtx");
    if (context && context != INVALID_HANDLE_VALUE && activate) active_ = activate(context, &cookie_) != FALSE;
}

ActivatedContext::~ActivatedContext() {
    auto deactivate = KernelFunction<BOOL(WINAPI*)(DWORD, ULONG_PTR)>("DeactivateActCtx");
    if (active_ && deactivate) deactivate(0, cookie_);
}

}  // namespace win32
