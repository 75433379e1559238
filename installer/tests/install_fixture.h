#pragma once
// One installation on a simulated machine: the sample package's
// configuration and per-system folders in place, the request as the wizard
// hands it over, the worker run to its end.
#include <optional>
#include <string>
#include <string_view>

#include "core/install_worker.h"
#include "core/os_code.h"
#include "core/port_names.h"
#include "core/serial_port_settings.h"
#include "registry_key.h"
#include "sim/sim_machine.h"
#include "tests/sample_package.h"

namespace setup_test {

// What GetVersionEx reports on each target system.
inline plat::OsVersion VersionOf(setup::OsCode target) {
    switch (target) {
        case setup::OsCode::kWin98Me:
            return {plat::kPlatformWindows, 4, 10};
        case setup::OsCode::kNt4:
            return {plat::kPlatformNt, 4, 0};
        case setup::OsCode::kWin2000:
            return {plat::kPlatformNt, 5, 0};
        case setup::OsCode::kWinXp:
            return {plat::kPlatformNt, 5, 1};
        case setup::OsCode::kServer2003:
            return {plat::kPlatformNt, 5, 2};
        case setup::OsCode::kWin7:
            return {plat::kPlatformNt, 6, 1};
        default:
            return {plat::kPlatformNt, 6, 0};  // Vista and Server 2008
    }
}

constexpr std::string_view kDriverDir = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";
constexpr std::string_view kProcessorDir = "C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86";
constexpr std::string_view kSystemDir = "C:\\WINDOWS\\system32";

inline std::string InDir(std::string_view directory, std::string_view file) {
    return std::string(directory) + "\\" + std::string(file);
}

struct InstallFixture {
    explicit InstallFixture(setup::OsCode target = setup::OsCode::kWinXp) {
        LoadSamplePackage(machine.files);
        LoadPackageFolders(machine.files);
        machine.system.currentDirectory = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora";
        machine.system.version = VersionOf(target);
        if (target == setup::OsCode::kWin98Me) machine.spooler.localEnvironment = "Windows 4.0";
        for (std::string_view directory : {kDriverDir, kProcessorDir, kSystemDir}) machine.files.MakeFolder(directory);
        // A stock NT 4.0 has no version-3 folder in its driver directory.
        if (target == setup::OsCode::kNt4) {
            machine.files.RemoveFolder(InDir(kDriverDir, "3"));
        } else {
            machine.files.MakeFolder(InDir(kDriverDir, "3"));
        }
        // The ports the package's serial and USB monitors provide once added.
        for (int n = 1; n <= 8; ++n) machine.spooler.ports.push_back("MDCOM" + std::to_string(n) + ":");
        for (std::string_view family : {"USB_KTR-P410_", "USB_KTR-P410II_", "USB_KTR-D9_"}) {
            for (int n = 1; n <= 4; ++n) machine.spooler.ports.push_back(std::string(family) + std::to_string(n));
        }
        // The NT family keeps the settings of its serial ports under this key
        // from the start.
        if (target != setup::OsCode::kWin98Me) {
            machine.registry.PutString(plat::RootKey::LocalMachine, setup::kNtPortsKey, "COM1:", "9600,n,8,1");
        }
        request.osCode = target;
        request.serial = setup::SerialSettings{9600, 8, 1, 'n', 'x'};
    }

    // The request for `model` of `module` on `port`, descriptions read as the
    // wizard reads them at Install.
    void Choose(int module, std::string_view model, std::string_view port, int rasterGraphic = 0) {
        request.module = module;
        request.modelName = model;
        request.portName = port;
        request.rasterGraphic = rasterGraphic;
        request.portKind = setup::PortKindOf(port);
        request.printerName = setup::PrinterNameFor(model, port, request.portKind);
        request.registeredPortName = setup::RegisteredPortName(port);
        request.printerPort = request.registeredPortName.empty() ? std::string(port) : request.registeredPortName;
        Describe();
    }
    void Describe() {
        setup::DriverKeyReader reader(machine.profile, setup::MakeReaderPaths(kPackageFolder));
        setup::DescribeInstallation(reader, &request);
    }

    setup::InstallServices Services() {
        return {machine.profile,  machine.registry, machine.files, machine.spooler,
                machine.services, machine.system,   machine.clock, machine.desktop};
    }
    // Runs the worker to its end; its final state.
    int Install() {
        progress.Start();
        setup::InstallWorker(Services(), request, progress);
        return progress.state();
    }
    const std::string& Result() const { return progress.resultMessage(); }

    // Every injected failure gone, as on a second run after the cause was
    // mended.
    void ClearFailures() {
        machine.spooler.ClearFailures();
        machine.files.ClearFailures();
        machine.services.ClearFailures();
        machine.registry.ClearFailures();
        machine.system.windowsDirectoryError = 0;
        machine.system.systemDirectoryError = 0;
        machine.system.currentDirectoryError = 0;
    }

    std::optional<std::uint32_t> Dword(std::string_view key, std::string_view name) const {
        const auto value = machine.registry.Value(plat::RootKey::LocalMachine, key, name);
        if (!value || value->type != plat::kRegDword || value->data.size() != 4) return std::nullopt;
        return value->data[0] | value->data[1] << 8 | value->data[2] << 16 |
               static_cast<std::uint32_t>(value->data[3]) << 24;
    }
    std::optional<std::string> Text(std::string_view key, std::string_view name) const {
        const auto value = machine.registry.Value(plat::RootKey::LocalMachine, key, name);
        if (!value) return std::nullopt;
        return plat::RegistryText(*value);
    }

    sim::SimMachine machine;
    setup::InstallRequest request;
    setup::InstallProgress progress;
};

}  // namespace setup_test
