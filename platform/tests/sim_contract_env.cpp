#include "sim/sim_code_page.h"
#include "sim/sim_machine.h"
#include "tests/contract_env.h"
#include "text.h"

namespace contract {

namespace {
class SimContractEnv : public ContractEnv {
public:
    SimContractEnv() {
        // What every Windows installation has besides the system's folders:
        // the folder the program runs in, the parallel port's monitor.
        machine_.files.MakeFolder(machine_.system.currentDirectory);
        machine_.files.MakeFolder(kScratch);
        machine_.spooler.monitors.push_back({"Local Port", "", "localspl.dll"});
        machine_.files.Write(machine_.system.systemDirectory + "\\localspl.dll", "monitor");
    }
    plat::Profile& profile() override { return machine_.profile; }
    plat::Registry& registry() override { return machine_.registry; }
    plat::Spooler& spooler() override { return machine_.spooler; }
    plat::SpoolerInstall& spoolerAdmin() override { return machine_.spooler; }
    plat::Services& services() override { return machine_.services; }
    plat::FilesInstall& files() override { return machine_.files; }
    plat::SystemInfo& systemInfo() override { return machine_.system; }

    std::string WriteFile(std::string_view name, std::string_view content) override {
        std::string path = ScratchPath(name);
        // Profile files are 8-bit text in the ANSI code page.
        machine_.files.Write(path, sim::ToAnsi(content));
        return path;
    }
    std::string ReadFile(std::string_view path) override {
        return sim::FromAnsi(machine_.files.Read(path).value_or(""));
    }
    std::string MissingFile() override { return ScratchPath("nao-existe.ini"); }
    std::string ScratchPath(std::string_view name) override { return std::string(kScratch) + "\\" + std::string(name); }
    void HoldFile(std::string_view path) override { machine_.files.HoldOpen(path); }
    void ReleaseFile(std::string_view path) override { machine_.files.Release(path); }
    void MakeReadOnly(std::string_view path) override { machine_.files.SetReadOnly(path); }
    bool IsReadOnly(std::string_view path) override { return machine_.files.IsReadOnly(path); }

    plat::DriverInfo3 LayDownTestDriver(std::string_view name) override {
        plat::DriverInfo3 driver;
        driver.cVersion = 3;
        driver.name = std::string(name);
        driver.driverPath = "PPCTDRV.DLL";
        driver.dataFile = "PPCTDATA.GPD";
        driver.configFile = "PPCTUI.DLL";
        driver.helpFile = "PPCTHELP.HLP";
        driver.dependentFiles = {"PPCTDATA.GPD", "PPCTDEP.INI"};
        for (const std::string& file : {driver.driverPath, driver.configFile, driver.helpFile,
                                        std::string("PPCTDATA.GPD"), std::string("PPCTDEP.INI")}) {
            machine_.files.Write(machine_.spooler.driverDirectory + "\\" + file, "x");
        }
        return driver;
    }
    // The simulated machine ends with the test program; the cases' names do
    // not collide.
    void RemovePrinter(std::string_view) override {}
    void RemoveDriver(std::string_view) override {}
    void RemoveForm(std::string_view name) override {
        std::erase_if(machine_.spooler.forms,
                      [&](const plat::FormInfo1& form) { return plat::EqualsNoCase(form.name, name); });
    }
    void Pause(unsigned milliseconds) override { machine_.clock.Sleep(milliseconds); }
    bool IsWine() override { return false; }

private:
    // Blanks and accents, as in the folders shops unpack the package into.
    static constexpr const char* kScratch = "C:\\Área de Trabalho\\Cópia do pacote";
    sim::SimMachine machine_;
};
}  // namespace

ContractEnv& Env() {
    static SimContractEnv env;
    return env;
}

}  // namespace contract
