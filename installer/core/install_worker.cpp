#include "core/install_worker.h"

namespace setup {

void InstallWorker(const InstallRequest&, InstallProgress& progress) {
    progress.Finish(InstallProgress::kFailed, std::string(kInstallNotAvailable));
}

}  // namespace setup
