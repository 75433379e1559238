#pragma once
// What the contract cases need from the platform under test: the ports
// themselves and a way to lay down files for them to read.
#include <string>
#include <string_view>

#include "ports/profile.h"
#include "ports/registry.h"
#include "ports/spooler.h"

namespace contract {

class ContractEnv {
public:
    virtual ~ContractEnv() = default;
    virtual plat::Profile& profile() = 0;
    virtual plat::Registry& registry() = 0;
    virtual plat::Spooler& spooler() = 0;
    // Writes `content` (UTF-8) as the file `name` in a scratch folder, in the
    // platform's own encoding, and returns its full path.
    virtual std::string WriteFile(std::string_view name, std::string_view content) = 0;
    // A full path in the scratch folder where no file exists.
    virtual std::string MissingFile() = 0;
    // Where the real platform departs from Windows, the case names the reason.
    virtual bool IsWine() = 0;
};

ContractEnv& Env();

}  // namespace contract
