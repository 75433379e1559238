#pragma once
// The bundled sample package, laid into a simulated machine's file tree.
#include <string>

#include "sim/sim_files.h"

namespace setup_test {

// The folder of Setup.exe on the simulated machine.
constexpr const char* kPackageFolder = "C:\\Pacote\\";

// Copies every file of the package's DRVCONFIG folder, under its stored name,
// to kPackageFolder + "DRVCONFIG\".
void LoadSamplePackage(sim::SimFiles& files);

}  // namespace setup_test
