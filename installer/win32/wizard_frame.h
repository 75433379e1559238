#pragma once
// The wizard's window (dialog 102) with the pages placed on its page area.
// For now it hosts the OS page only; Cancel closes it.
#include <windows.h>

#include "core/os_page.h"

namespace setup_win32 {

struct WizardPages {
    setup::OsPage* osPage;
};

INT_PTR RunWizard(HINSTANCE instance, WizardPages& pages);

}  // namespace setup_win32
