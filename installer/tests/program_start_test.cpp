#include <gtest/gtest.h>

#include "core/program_start.h"
#include "sim/sim_machine.h"
#include "text.h"

namespace {

using namespace setup;

TEST(ApplicationName, IsTheFileNameWithoutExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\Setup.exe", "Setup"},
        {"C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora.v2\\Setup", "Setup"},
        {"Setup.exe", "Setup"},
        {"C:\\a\\Instalar.Driver.exe", "Instalar.Driver"},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(plat::ApplicationName(path), name) << path;
}

TEST(PrepareSetupStart, FirstInstanceRuns) {
    sim::SimMachine machine;
    EXPECT_TRUE(PrepareSetupStart(machine.desktop, machine.system));
    EXPECT_EQ(machine.desktop.mutexes, std::set<std::string>{"Setup"});
    EXPECT_TRUE(machine.desktop.boxes.empty());
}

TEST(PrepareSetupStart, SecondInstanceBringsTheFirstToTheFront) {
    sim::SimMachine machine;
    machine.desktop.mutexes.insert("Setup");
    machine.desktop.windows.push_back({"Setup do Driver da Impressora", 0x55});
    EXPECT_FALSE(PrepareSetupStart(machine.desktop, machine.system));
    EXPECT_EQ(machine.desktop.broughtToFront, std::vector<plat::WindowRef>{0x55});
    EXPECT_TRUE(machine.desktop.boxes.empty()) << "the second start ends silently";
}

TEST(PrepareSetupStart, OpenUninstallerIsNamed) {
    sim::SimMachine machine;
    machine.desktop.windows.push_back({"Desinstalar", 0x66});
    EXPECT_FALSE(PrepareSetupStart(machine.desktop, machine.system));
    ASSERT_EQ(machine.desktop.boxes.size(), 1u);
    EXPECT_EQ(machine.desktop.boxes[0].text, "Favor fechar o programa  de desinstalação");
}

}  // namespace
