#pragma once
// The bundled sample package, laid into a simulated machine's file tree.
#include <string>

#include "sim/sim_files.h"

namespace setup_test {

// The folder of Setup.exe on the simulated machine: a user's desktop on a
// Portuguese Windows, where shops unpack the package (blanks and accents).
constexpr const char* kPackageFolder = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\";

// Copies every file of the package's DRVCONFIG folder, under its stored name,
// to kPackageFolder + "DRVCONFIG\", and lays MdUsbInt.dll beside Setup.exe.
void LoadSamplePackage(sim::SimFiles& files);

// Copies the package's per-system folders (win98, winnt, win2003, Vista,
// win2008, win7) to kPackageFolder, with the files the Windows build
// adds to them (the plug-in and the configuration module) as stand-ins.
void LoadPackageFolders(sim::SimFiles& files);

}  // namespace setup_test
