#pragma once
// How the progress window shows its text.
#include "win32/dialog_binding.h"

namespace setup_win32 {

win32::BindingOptions ProgressWindowOptions();

}  // namespace setup_win32
