#include "tests/sample_package.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace setup_test {

void LoadSamplePackage(sim::SimFiles& files) {
    namespace fs = std::filesystem;
    for (const auto& entry : fs::directory_iterator(fs::path(PP_PACKAGE_DIR) / "DRVCONFIG")) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        files.Write(std::string(kPackageFolder) + "DRVCONFIG\\" + entry.path().filename().string(), content.str());
    }
}

}  // namespace setup_test
