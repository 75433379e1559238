#include "sim/sim_machine.h"
#include "tests/contract_env.h"

namespace contract {

namespace {
class SimContractEnv : public ContractEnv {
public:
    plat::Profile& profile() override { return machine_.profile; }
    plat::Registry& registry() override { return machine_.registry; }
    plat::Spooler& spooler() override { return machine_.spooler; }
    std::string WriteFile(std::string_view name, std::string_view content) override {
        std::string path = "C:\\Scratch\\" + std::string(name);
        machine_.files.Write(path, std::string(content));
        return path;
    }
    std::string MissingFile() override { return "C:\\Scratch\\nao-existe.ini"; }
    bool IsWine() override { return false; }

private:
    sim::SimMachine machine_;
};
}  // namespace

ContractEnv& Env() {
    static SimContractEnv env;
    return env;
}

}  // namespace contract
