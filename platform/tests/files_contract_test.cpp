// File copies and the system's folders as the installer uses them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/contract_env.h"

namespace {

using contract::Env;

TEST(FilesContract, CopyFailuresCarryTheirCodes) {
    contract::ContractEnv& env = Env();
    const std::string source = env.WriteFile("origem.txt", "novo");
    const std::string existing = env.WriteFile("destino.txt", "antigo");
    struct Case {
        const char* what;
        std::string from;
        std::string to;
        bool failIfExists;
        long expected;
    };
    const Case cases[] = {
        {"missing source", env.MissingFile(), env.ScratchPath("copia.txt"), false, plat::kErrorFileNotFound},
        {"existing destination kept", source, existing, true, plat::kErrorFileExists},
        {"destination folder missing", source, env.ScratchPath("pasta-inexistente\\copia.txt"), false,
         plat::kErrorPathNotFound},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(env.files().CopyFile(c.from, c.to, c.failIfExists), c.expected) << c.what;
    }
    EXPECT_EQ(env.ReadFile(existing), "antigo") << "a failed copy changes nothing";
    EXPECT_FALSE(env.files().FileExists(env.ScratchPath("copia.txt")));
}

TEST(FilesContract, CopyReplacesAnExistingFile) {
    contract::ContractEnv& env = Env();
    const std::string source = env.WriteFile("origem-2.txt", "conteúdo novo");
    const std::string destination = env.WriteFile("destino-2.txt", "antigo");
    ASSERT_EQ(env.files().CopyFile(source, destination, false), plat::kErrorSuccess);
    EXPECT_EQ(env.ReadFile(destination), "conteúdo novo");
}

// A package copied from a CD: its copies are read-only like it, a read-only
// file is not deleted, and clearing the attribute lets the deletion through.
TEST(FilesContract, ReadOnlyFilesOfACd) {
    contract::ContractEnv& env = Env();
    const std::string source = env.WriteFile("do-cd.dll", "do CD");
    const std::string copy = env.ScratchPath("copiado do CD.dll");
    env.MakeReadOnly(source);
    ASSERT_EQ(env.files().CopyFile(source, copy, false), plat::kErrorSuccess);
    EXPECT_TRUE(env.IsReadOnly(copy)) << "the copy takes the source's attributes";
    EXPECT_TRUE(env.files().SetArchiveAttribute(copy));
    EXPECT_FALSE(env.IsReadOnly(copy));
    EXPECT_EQ(env.files().DeleteFile(copy), plat::kErrorSuccess);
    EXPECT_EQ(env.files().DeleteFile(source), plat::kErrorAccessDenied) << "a read-only file is not deleted";
    EXPECT_TRUE(env.files().SetArchiveAttribute(source));
    EXPECT_EQ(env.files().DeleteFile(source), plat::kErrorSuccess);

    // Only the read-only mark goes, and a file that has none keeps it so.
    const std::string ini = env.WriteFile("Uninstall do CD.ini", "[MDPRINTER]\r\n");
    env.MakeReadOnly(ini);
    EXPECT_EQ(env.files().ClearReadOnly(ini), plat::kErrorSuccess);
    EXPECT_FALSE(env.IsReadOnly(ini));
    EXPECT_EQ(env.files().ClearReadOnly(ini), plat::kErrorSuccess);
    EXPECT_FALSE(env.IsReadOnly(ini));
    EXPECT_EQ(env.files().DeleteFile(ini), plat::kErrorSuccess);
    EXPECT_EQ(env.files().ClearReadOnly(env.MissingFile()), plat::kErrorFileNotFound);
    EXPECT_EQ(env.files().ClearReadOnly(env.ScratchPath("pasta-inexistente\\Uninstall.ini")), plat::kErrorPathNotFound);
}

TEST(FilesContract, ReadOnlyFileIsNotOverwritten) {
    contract::ContractEnv& env = Env();
    if (env.IsWine()) GTEST_SKIP() << "Wine writes over a read-only file; Windows refuses the copy with 5";
    const std::string source = env.WriteFile("novo do pacote.dll", "novo");
    const std::string kept = env.WriteFile("somente leitura.dll", "antigo");
    env.MakeReadOnly(kept);
    EXPECT_EQ(env.files().CopyFile(source, kept, false), plat::kErrorAccessDenied);
    EXPECT_EQ(env.ReadFile(kept), "antigo");
    EXPECT_TRUE(env.files().SetArchiveAttribute(kept));
    EXPECT_EQ(env.files().CopyFile(source, kept, false), plat::kErrorSuccess) << "once writable";
}

TEST(FilesContract, CopyOntoAFileHeldOpenIsASharingViolation) {
    contract::ContractEnv& env = Env();
    const std::string source = env.WriteFile("origem-3.txt", "novo");
    const std::string held = env.WriteFile("em-uso.dll", "antigo");
    env.HoldFile(held);
    const long result = env.files().CopyFile(source, held, false);
    // A source held the same way cannot be read: the copy fails with the same
    // code while nothing lies at the destination.
    const std::string nowhere = env.ScratchPath("copia-de-em-uso.dll");
    const long fromHeld = env.files().CopyFile(held, nowhere, false);
    env.ReleaseFile(held);
    EXPECT_EQ(result, plat::kErrorSharingViolation);
    EXPECT_EQ(env.ReadFile(held), "antigo");
    EXPECT_EQ(fromHeld, plat::kErrorSharingViolation);
    EXPECT_FALSE(env.files().FileExists(nowhere));
}

TEST(FilesContract, CreateFolderResults) {
    contract::ContractEnv& env = Env();
    const std::string folder = env.ScratchPath("pasta nova ção");
    const std::string file = env.WriteFile("arquivo-no-caminho", "x");
    struct Case {
        const char* what;
        std::string path;
        long expected;
    };
    const Case cases[] = {
        {"a new folder", folder, plat::kErrorSuccess},
        {"the same folder again", folder, plat::kErrorSuccess},
        {"a file of that name in the way", file, plat::kErrorAlreadyExists},
        {"the parent missing", env.ScratchPath("pasta-inexistente\\3"), plat::kErrorPathNotFound},
    };
    for (const Case& c : cases) EXPECT_EQ(env.files().CreateFolder(c.path), c.expected) << c.what;
    const std::string source = env.WriteFile("para-a-pasta.ini", "x");
    EXPECT_EQ(env.files().CopyFile(source, folder + "\\para-a-pasta.ini", false), plat::kErrorSuccess)
        << "a copy finds the folder made";
    EXPECT_EQ(env.files().CopyFile(source, file + "\\para-a-pasta.ini", false), plat::kErrorPathNotFound)
        << "a file is no folder";
}

TEST(FilesContract, ExistenceOfFilesAndFolders) {
    contract::ContractEnv& env = Env();
    const std::string file = env.WriteFile("existe.txt", "x");
    std::string system;
    ASSERT_EQ(env.systemInfo().SystemDirectory(&system), plat::kErrorSuccess);
    EXPECT_TRUE(env.files().FileExists(file));
    EXPECT_TRUE(env.files().FileExists(system)) << "a folder exists too";
    EXPECT_FALSE(env.files().FileExists(env.MissingFile()));
}

TEST(FilesContract, DeleteFileResults) {
    contract::ContractEnv& env = Env();
    const std::string existing = env.WriteFile("apagar.dll", "x");
    const std::string held = env.WriteFile("apagar-em-uso.dll", "x");
    struct Case {
        const char* what;
        std::string path;
        long expected;
        bool remains;
    };
    const Case cases[] = {
        {"an existing file", existing, plat::kErrorSuccess, false},
        {"a missing file", env.MissingFile(), plat::kErrorFileNotFound, false},
        {"a file held open without sharing", held, plat::kErrorSharingViolation, true},
    };
    env.HoldFile(held);
    for (const Case& c : cases) {
        EXPECT_EQ(env.files().DeleteFile(c.path), c.expected) << c.what;
        EXPECT_EQ(env.files().FileExists(c.path), c.remains) << c.what;
    }
    env.ReleaseFile(held);
    EXPECT_EQ(env.files().DeleteFile(held), plat::kErrorSuccess) << "once released";
}

TEST(FilesContract, FolderListsItsFiles) {
    contract::ContractEnv& env = Env();
    env.WriteFile("Uninstall.ini", "[MDPRINTER]\r\n");
    env.WriteFile("Lista Ção.txt", "x");  // crosses the ANSI code page
    const std::string folder = env.ScratchPath("");
    ASSERT_EQ(folder.back(), '\\');
    std::vector<std::string> names{"sentinela"};
    ASSERT_EQ(env.files().ListFolder(folder, &names), plat::kErrorSuccess);
    for (const char* name : {"Uninstall.ini", "Lista Ção.txt"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    EXPECT_EQ(std::find(names.begin(), names.end(), "sentinela"), names.end()) << "the list is replaced";

    std::vector<std::string> untouched{"sentinela"};
    EXPECT_EQ(env.files().ListFolder(env.ScratchPath("pasta-inexistente\\"), &untouched), plat::kErrorPathNotFound);
    EXPECT_EQ(untouched, std::vector<std::string>{"sentinela"});
}

TEST(SystemInfoContract, DirectoriesAreReadableAndExist) {
    plat::SystemInfo& info = Env().systemInfo();
    struct Case {
        const char* what;
        plat::Error (plat::SystemInfo::*query)(std::string*);
    };
    std::string windows;
    for (const Case& c : {Case{"Windows directory", &plat::SystemInfo::WindowsDirectory},
                          Case{"system directory", &plat::SystemInfo::SystemDirectory},
                          Case{"current directory", &plat::SystemInfo::CurrentDirectory}}) {
        std::string directory;
        ASSERT_EQ((info.*c.query)(&directory), plat::kErrorSuccess) << c.what;
        ASSERT_FALSE(directory.empty()) << c.what;
        EXPECT_NE(directory.back(), '\\') << c.what;
        EXPECT_TRUE(Env().files().FileExists(directory)) << c.what << " " << directory;
        if (windows.empty()) windows = directory;
    }
    std::string system;
    ASSERT_EQ(info.SystemDirectory(&system), plat::kErrorSuccess);
    EXPECT_EQ(system.rfind(windows + "\\", 0), 0u) << system << " lies in " << windows;
}

}  // namespace
