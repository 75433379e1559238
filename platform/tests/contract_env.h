#pragma once
// What the contract cases need from the platform under test: the ports
// themselves and a way to lay down files for them to read.
#include <string>
#include <string_view>

#include "ports/files.h"
#include "ports/profile.h"
#include "ports/registry.h"
#include "ports/services.h"
#include "ports/spooler.h"
#include "ports/spooler_admin.h"
#include "ports/system_info.h"

namespace contract {

class ContractEnv {
public:
    virtual ~ContractEnv() = default;
    virtual plat::Profile& profile() = 0;
    virtual plat::Registry& registry() = 0;
    virtual plat::Spooler& spooler() = 0;
    virtual plat::SpoolerInstall& spoolerAdmin() = 0;
    virtual plat::Services& services() = 0;
    virtual plat::FilesInstall& files() = 0;
    virtual plat::SystemInfo& systemInfo() = 0;

    // Writes `content` (UTF-8) as the file `name` in a scratch folder, in the
    // platform's own encoding, and returns its full path.
    virtual std::string WriteFile(std::string_view name, std::string_view content) = 0;
    // The content of a file as WriteFile would have written it; empty when
    // it cannot be read.
    virtual std::string ReadFile(std::string_view path) = 0;
    // A full path in the scratch folder where no file exists.
    virtual std::string MissingFile() = 0;
    // The full path `name` would have in the scratch folder; nothing is made.
    virtual std::string ScratchPath(std::string_view name) = 0;
    // Keeps `path` open without sharing, as a running program holds its file,
    // until ReleaseFile.
    virtual void HoldFile(std::string_view path) = 0;
    virtual void ReleaseFile(std::string_view path) = 0;
    // The read-only attribute, as the files of a CD have it.
    virtual void MakeReadOnly(std::string_view path) = 0;
    virtual bool IsReadOnly(std::string_view path) = 0;

    // Lays the files of a small printer driver into the printer-driver
    // directory and returns its description, ready for AddPrinterDriver.
    virtual plat::DriverInfo3 LayDownTestDriver(std::string_view name) = 0;
    // Removes what a case added to the spooler, so that a real machine is left
    // as it was; missing ones are ignored.
    virtual void RemovePrinter(std::string_view name) = 0;
    virtual void RemoveDriver(std::string_view name) = 0;
    virtual void RemoveForm(std::string_view name) = 0;
    // Lets `milliseconds` pass (real time on a real platform).
    virtual void Pause(unsigned milliseconds) = 0;

    // Where the real platform departs from Windows, the case names the reason.
    virtual bool IsWine() = 0;
};

ContractEnv& Env();

}  // namespace contract
