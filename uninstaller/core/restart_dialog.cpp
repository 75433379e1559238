#include "core/restart_dialog.h"

#include "resource.h"

namespace uninstall {

void RestartDialog::OnCommand(plat::Controls& controls, int id, int) {
    if (id == IDC_RESTART_YES) {
        // The shutdown privilege is enabled first where Windows has one.
        (void)desktop_.RestartWindows();
        controls.Close(id);
    } else if (id == IDC_RESTART_NO || id == plat::kIdCancel) {
        controls.Close(IDC_RESTART_NO);
    }
}

}  // namespace uninstall
