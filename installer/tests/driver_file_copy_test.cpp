// The one copy primitive: destinations, package folders, in-use results and
// the messages of each failure.
#include "core/driver_file_copy.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/os_code.h"
#include "tests/install_fixture.h"

namespace {

using namespace setup;
using setup_test::InstallFixture;

TEST(CopyDriverFile, CopiesFromTheTargetsFolderIntoEachDestination) {
    struct Case {
        int copyTarget;
        setup::OsCode target;
        const char* file;
        const char* destination;
    } cases[] = {
        {kDriverDirectory, OsCode::kWinXp, "KTRP410.GPD", "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\KTRP410.GPD"},
        {kDriverDirectoryVersion3, OsCode::kWin2000, "7404VXCONTROL.INI",
         "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\7404VXCONTROL.INI"},
        {kProcessorDirectory, OsCode::kServer2008, "KTRPROC.DLL",
         "C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\KTRPROC.DLL"},
        {kSystemDirectory, OsCode::kVista, "KTRLMON.DLL", "C:\\WINDOWS\\system32\\KTRLMON.DLL"},
        {kInfDirectory, OsCode::kWin7, "KTRUSBMN.DLL", "C:\\WINDOWS\\inf\\KTRUSBMN.DLL"},
        {kSystemDirectory, OsCode::kWin98Me, "KTRLM9X.DLL", "C:\\WINDOWS\\system32\\KTRLM9X.DLL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.destination);
        InstallFixture fixture(c.target);
        sim::SimFiles& files = fixture.machine.files;
        const std::string source =
            fixture.machine.system.currentDirectory + std::string(PackageFolder(c.target)) + c.file;
        // A package copied from a CD, over the read-only copy an earlier
        // installation from it left: replaced, and writable from then on.
        files.Write(source, "novo");
        files.SetReadOnly(source);
        files.Write(c.destination, "antigo");
        files.SetReadOnly(c.destination);
        InstallSession session{fixture.Services(), c.target, {}};
        EXPECT_EQ(CopyDriverFile(session, c.file, c.copyTarget, c.target, false), CopyResult::Copied());
        EXPECT_EQ(session.resultMessage, "");
        ASSERT_FALSE(files.copies.empty());
        EXPECT_EQ(files.copies.back().source, source);
        EXPECT_EQ(files.copies.back().destination, c.destination);
        EXPECT_EQ(files.Read(c.destination), "novo");
        EXPECT_FALSE(files.IsReadOnly(c.destination));
    }
}

TEST(CopyDriverFile, EachFailureHasItsMessage) {
    using Setup = std::function<void(InstallFixture&)>;
    const std::string longName(250, 'A');
    struct Case {
        const char* what;
        int copyTarget;
        std::string file;
        Setup fail;
        CopyResult result;
        std::string message;
    } cases[] = {
        {"the none value", kDriverDirectory, "0", [](InstallFixture&) {}, CopyResult::Failed(), ""},
        {"Windows directory", kInfDirectory, "A.DLL",
         [](InstallFixture& f) { f.machine.system.windowsDirectoryError = 2; }, CopyResult::Failed(),
         "Erro ao ler o diretório do windows"},
        {"driver directory", kDriverDirectoryVersion3, "A.DLL",
         [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::GetPrinterDriverDirectory, 122); }, CopyResult::Failed(),
         "Erro ao ler o diretório do driver de impressora"},
        {"processor directory", kProcessorDirectory, "A.DLL",
         [](InstallFixture& f) { f.machine.spooler.Fail(sim::SpoolerOp::GetPrintProcessorDirectory, 122); },
         CopyResult::Failed(), "Erro ao ler o diretório de processo de impressão"},
        {"system directory", kSystemDirectory, "A.DLL",
         [](InstallFixture& f) { f.machine.system.systemDirectoryError = 2; }, CopyResult::Failed(),
         "Erro ao ler o diretório do sistema"},
        {"a directory longer than its buffer", kSystemDirectory, "A.DLL",
         [](InstallFixture& f) { f.machine.system.systemDirectory = "C:\\" + std::string(260, 'S'); }, CopyResult::Failed(),
         "Erro ao ler o diretório do sistema"},
        {"unknown destination", 4711, "A.DLL", [](InstallFixture&) {}, CopyResult::Failed(), "Erro de tipo de Diretório"},
        {"current directory", kSystemDirectory, "A.DLL",
         [](InstallFixture& f) { f.machine.system.currentDirectoryError = 5; }, CopyResult::Failed(),
         "Erro ao ler o diretório do sistema"},
        {"missing source", kSystemDirectory, "A.DLL", [](InstallFixture&) {}, CopyResult::Failed(),
         "Erro ao copiar arquivos de driversA.DLL  er = 2C:\\Documents and Settings\\João\\Área de Trabalho\\Driver "
         "Impressora\\winnt\\A.DLL"},
        {"a path longer than MAX_PATH", kSystemDirectory, longName, [](InstallFixture&) {}, CopyResult::Failed(),
         "Erro ao copiar arquivos de drivers" + longName +
             "  er = 206C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\winnt\\" + longName},
        {"held by the system", kSystemDirectory, "KTRLMON.DLL",
         [](InstallFixture& f) { f.machine.files.HoldOpen("C:\\WINDOWS\\system32\\KTRLMON.DLL"); }, CopyResult::InUse(32), ""},
        {"access denied", kSystemDirectory, "KTRLMON.DLL",
         [](InstallFixture& f) { f.machine.files.HoldOpen("C:\\WINDOWS\\system32\\KTRLMON.DLL", 5); },
         CopyResult::InUse(5), ""},
        {"refused as in use while no file of that name is there", kSystemDirectory, "A.DLL",
         [](InstallFixture& f) { f.machine.files.FailCopy(32, "A.DLL"); }, CopyResult::Failed(),
         "Erro ao copiar arquivos de driversA.DLL  er = 32C:\\Documents and Settings\\João\\Área de "
         "Trabalho\\Driver Impressora\\winnt\\A.DLL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFixture fixture(OsCode::kWinXp);
        fixture.machine.files.Write("C:\\WINDOWS\\system32\\KTRLMON.DLL", "loaded");
        c.fail(fixture);
        InstallSession session{fixture.Services(), OsCode::kWinXp, {}};
        EXPECT_EQ(CopyDriverFile(session, c.file, c.copyTarget, OsCode::kWinXp, false), c.result);
        EXPECT_EQ(session.resultMessage, c.message);
        EXPECT_TRUE(fixture.machine.files.copies.empty());
    }
}

TEST(CopyDriverFile, TheRenameFlagPutsAnNBeforeTheName) {
    InstallFixture fixture(OsCode::kWin7);
    InstallSession session{fixture.Services(), OsCode::kWin7, {}};
    fixture.machine.files.FailCopy(3, "nKTRLMON");
    EXPECT_EQ(CopyDriverFile(session, "KTRLMON.DLL", kSystemDirectory, OsCode::kWin7, true), CopyResult::Failed());
    EXPECT_EQ(session.resultMessage,
              "Erro ao copiar arquivos de driversnKTRLMON.DLL  er = 3C:\\Documents and Settings\\João\\Área de "
              "Trabalho\\Driver Impressora\\win7\\KTRLMON.DLL");
}

}  // namespace
