#pragma once
#include <functional>

#include "core/install_request.h"

namespace setup {

// The installation worker runs on its own thread and reports through
// `progress` once, at its end.
using InstallWorkerFn = std::function<void(const InstallRequest&, InstallProgress&)>;

// The worker of this version: the installation engine is not part of it yet,
// so it refuses at once and nothing is half done.
void InstallWorker(const InstallRequest& request, InstallProgress& progress);

// The worker thread's entry: runs `worker` and turns anything it throws
// (memory running out, say) into a failed installation, so that no exception
// leaves the thread and the wizard always gets a report.
void RunInstallWorker(const InstallWorkerFn& worker, const InstallRequest& request, InstallProgress& progress);

constexpr std::string_view kWorkerFailed = "Erro inesperado durante a instalação";
constexpr std::string_view kWorkerNotStarted = "Impossível iniciar a instalação";
constexpr std::string_view kInstallNotAvailable = "Instalação ainda não disponível nesta versão";

}  // namespace setup
