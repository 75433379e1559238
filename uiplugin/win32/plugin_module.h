#pragma once
// What the library keeps for the whole process: its module handle, the
// counts that decide whether it may be unloaded, and the activation context
// that gives its pages the version-6 common controls.
#include <windows.h>

namespace plugin_win32 {

HINSTANCE ModuleHandle();
void SetModuleHandle(HINSTANCE module);

// Live plug-in objects and server locks; the library stays while either is held.
void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool CanUnload();

// The activation context of the library's own manifest, created on first use;
// nullptr where the platform has none.
HANDLE ActivationContext();
void ReleaseActivationContext();

}  // namespace plugin_win32
