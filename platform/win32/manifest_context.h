#pragma once
// The activation context of a module's own manifest (a resource of type
// RT_MANIFEST inside the module), which gives its windows the version-6
// common controls. The functions are bound by name: Windows before XP has
// none, and a library that uses them must still load there.
#include <windows.h>

namespace win32 {

// INVALID_HANDLE_VALUE where the platform has no activation contexts or the
// module carries no such manifest.
HANDLE CreateManifestContext(HMODULE module, WORD manifestId);
void ReleaseManifestContext(HANDLE context);

// Keeps `context` active on this thread while it lives (nothing where the
// context is none or the platform has no activation contexts).
class ActivatedContext {
public:
    explicit ActivatedContext(HANDLE context);
    ~ActivatedContext();
    ActivatedContext(const ActivatedContext&) = delete;
    ActivatedContext& operator=(const ActivatedContext&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

}  // namespace win32
