#pragma once
// The installation engine: the worker that registers the chosen printer with
// the spooler, behind the wizard's progress window.
#include <functional>

#include "core/driver_key_reader.h"
#include "core/install_request.h"
#include "core/install_session.h"

namespace setup {

// The installation worker runs on its own thread and reports through
// `progress` once, at its end.
using InstallWorkerFn = std::function<void(const InstallRequest&, InstallProgress&)>;

// Reads the descriptions of the request's model, system, key set and port
// kind into request->descriptions.
void DescribeInstallation(DriverKeyReader& reader, InstallRequest* request);

// The Unidrv core files a driver needs besides its own: on Windows 98/Me
// ICONLIB.DLL and, when the system has none, UNIDRV.DLL; on 2000 and later
// the three core files of a driver built on the Unidrv core.
void CopyUnidrvCoreFiles(InstallSession& session, bool ddkFlag);

// The worker, step by step: monitors and processor, driver files, driver,
// printer, default printer, serial settings. Stops at the first failure with
// its message; nothing already done is undone, so a later run goes on from
// there.
void InstallWorker(InstallServices io, const InstallRequest& request, InstallProgress& progress);

// The worker thread's entry: runs `worker` and turns anything it throws
// (memory running out, say) into a failed installation, so that no exception
// leaves the thread and the wizard always gets a report.
void RunInstallWorker(const InstallWorkerFn& worker, const InstallRequest& request, InstallProgress& progress);

constexpr std::string_view kWorkerFailed = "Erro inesperado durante a instalação";
constexpr std::string_view kWorkerNotStarted = "Impossível iniciar a instalação";

constexpr unsigned kWorkerStartWait = 100;

}  // namespace setup
