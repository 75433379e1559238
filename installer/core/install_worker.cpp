#include "core/install_worker.h"

namespace setup {

void InstallWorker(const InstallRequest&, InstallProgress& progress) {
    progress.Finish(InstallProgress::kFailed, std::string(kInstallNotAvailable));
}

void RunInstallWorker(const InstallWorkerFn& worker, const InstallRequest& request, InstallProgress& progress) {
    try {
        worker(request, progress);
    } catch (...) {
        progress.Finish(InstallProgress::kFailed, std::string(kWorkerFailed));
    }
}

}  // namespace setup
