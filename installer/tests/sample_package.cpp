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
    // The maker's USB library, which ships beside Setup.exe.
    files.Write(std::string(kPackageFolder) + "MdUsbInt.dll", "MdUsbInt");
}

void LoadPackageFolders(sim::SimFiles& files) {
    namespace fs = std::filesystem;
    for (const char* folder : {"win98", "winnt", "win2003", "Vista", "win2008", "win7"}) {
        const std::string into = std::string(kPackageFolder) + folder + "\\";
        for (const auto& entry : fs::directory_iterator(fs::path(PP_PACKAGE_DIR) / folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            files.Write(into + entry.path().filename().string(), content.str());
        }
        files.Write(into + "7404VXUI.DLL", "built plug-in");
        if (std::string_view(folder) != "win98") files.Write(into + "UNIDRVUI.DLL", "built configuration module");
    }
}

}  // namespace setup_test
