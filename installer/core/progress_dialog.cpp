#include "core/progress_dialog.h"

#include <algorithm>

#include "core/os_code.h"
#include "ports/desktop.h"
#include "resource.h"

namespace setup {

namespace {
constexpr int kCreepLimit = 90;
constexpr unsigned kCreepMs = 80;
constexpr unsigned kStepMs = 10;
constexpr unsigned kLingerMs = 100;
}  // namespace

void ProgressDialog::OnInit(plat::Controls& controls) {
    controls.SetRange(IDC_PROGRESS_BAR, 0, 100);
    controls.StartTimer(kTimerId, kTimerMs);
}

void ProgressDialog::OnTimer(plat::Controls& controls, int timerId) {
    if (timerId != kTimerId) return;
    controls.StopTimer(kTimerId);
    if (ran_) return;
    ran_ = true;
    int bar = 0;
    for (int n = 0;; ++n) {
        // Windows 98/Me does not wait for the worker: the window goes at 90 %.
        if (osCode_ == OsCode::kWin98Me && n >= kCreepLimit) break;
        const int state = progress_.state();
        if (state == InstallProgress::kFailed) {
            RunDown(controls, bar);
            break;
        }
        if (state == InstallProgress::kDone) {
            RunUp(controls, bar);
            break;
        }
        bar = std::min(n, kCreepLimit);
        controls.SetPosition(IDC_PROGRESS_BAR, bar);
        clock_.Sleep(kCreepMs);
    }
    controls.Close(plat::kIdOk);
}

void ProgressDialog::RunDown(plat::Controls& controls, int from) {
    for (int position = from; position > 0; --position) {
        controls.SetPosition(IDC_PROGRESS_BAR, position);
        clock_.Sleep(kStepMs);
    }
    controls.SetPosition(IDC_PROGRESS_BAR, 0);
    clock_.Sleep(kLingerMs);
}

void ProgressDialog::RunUp(plat::Controls& controls, int from) {
    for (int position = from; position < 100; ++position) {
        controls.SetPosition(IDC_PROGRESS_BAR, position);
        clock_.Sleep(kStepMs);
    }
    controls.SetPosition(IDC_PROGRESS_BAR, 100);
    clock_.Sleep(kLingerMs);
}

}  // namespace setup
