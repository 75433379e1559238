#include "core/driver_file_copy.h"

#include <array>

#include "core/os_code.h"
#include "core/setup_text.h"

namespace setup {

namespace {
// A directory the platform gave, refused when it would not fit its buffer
// (a cut directory would send the copy somewhere else).
bool Fits(const std::string& directory) {
    return directory.size() < kDirectoryBuffer;
}
}  // namespace

bool CopyTargetDirectory(InstallSession& session, int copyTarget, std::string* directory) {
    std::string found;
    int failure = 0;
    switch (copyTarget) {
        case kInfDirectory:
            if (session.io.system.WindowsDirectory(&found) != 0 || !Fits(found + "\\inf")) {
                failure = IDS_NO_WINDOWS_DIR;
            } else {
                found += "\\inf";
            }
            break;
        case kDriverDirectoryVersion3:
        case kDriverDirectory:
            if (session.io.spooler.GetPrinterDriverDirectory(&found) != 0) {
                failure = IDS_NO_DRIVER_DIR;
            } else if (copyTarget == kDriverDirectoryVersion3) {
                found += "\\3";
            }
            if (failure == 0 && !Fits(found)) failure = IDS_NO_DRIVER_DIR;
            break;
        case kProcessorDirectory:
            if (session.io.spooler.GetPrintProcessorDirectory(&found) != 0 || !Fits(found)) {
                failure = IDS_NO_PROCESSOR_DIR;
            }
            break;
        case kSystemDirectory:
            if (session.io.system.SystemDirectory(&found) != 0 || !Fits(found)) failure = IDS_NO_SYSTEM_DIR;
            break;
        default:
            failure = IDS_BAD_DIR_TYPE;
            break;
    }
    if (failure != 0) {
        session.resultMessage = SetupString(failure);
        return false;
    }
    *directory = std::move(found);
    return true;
}

plat::Error CopyWithNormalAttributes(plat::FilesInstall& files, const std::string& source, const std::string& destination,
                              bool failIfExists) {
    if (!failIfExists) (void)files.SetArchiveAttribute(destination);
    const long error = files.CopyFile(source, destination, failIfExists);
    // The copy takes the source's attributes; a package copied from a CD
    // would leave read-only files behind.
    if (error == plat::kErrorSuccess) (void)files.SetArchiveAttribute(destination);
    return error;
}

CopyResult CopyDriverFile(InstallSession& session, std::string_view file, int copyTarget, OsCode target, bool rename,
                          Existing existing) {
    if (!file.empty() && file.front() == '0') return CopyResult::Failed();
    std::string directory;
    if (!CopyTargetDirectory(session, copyTarget, &directory)) return CopyResult::Failed();
    std::string current;
    if (session.io.system.CurrentDirectory(&current) != 0) {
        session.resultMessage = SetupString(IDS_NO_CURRENT_DIR);
        return CopyResult::Failed();
    }
    const std::string source = current + std::string(PackageFolder(target)) + std::string(file);
    const std::string copied = (rename ? "n" : "") + std::string(file);
    const std::string destination = directory + "\\" + copied;

    long error = plat::kErrorSuccess;
    if (source.size() >= kMaxPath || destination.size() >= kMaxPath) {
        // Never copy from or to a path cut to its buffer.
        error = plat::kErrorFilenameExcedRange;
    } else {
        // A stock NT 4.0 has no version-3 folder. One that cannot be made
        // fails the copy below with its own code.
        if (copyTarget == kDriverDirectoryVersion3) (void)session.io.files.CreateFolder(directory);
        const bool keep = existing == Existing::kKeep;
        error = CopyWithNormalAttributes(session.io.files, source, destination, keep);
        if (error == plat::kErrorSuccess) return CopyResult::Copied();
        if (keep && error == plat::kErrorFileExists) {
            // Kept, but writable like every copy of ours: the plug-in saves
            // the table into it.
            (void)session.io.files.SetArchiveAttribute(destination);
            return CopyResult::Copied();
        }
        // The file in use stays and serves; without one the driver would lack
        // the file (the source held open, say).
        if (IsInUseCode(error) && session.io.files.FileExists(destination)) return CopyResult::InUse(error);
    }
    session.resultMessage =
        std::string(SetupString(IDS_COPY_FAILED)) + copied + "  er = " + std::to_string(error) + source;
    return CopyResult::Failed();
}

CopyResult CopyComponentFile(InstallSession& session, std::string_view file, int copyTarget,
                             std::string* registeredName) {
    *registeredName = std::string(file);
    CopyResult result = CopyDriverFile(session, file, copyTarget, session.target, false);
    if (result.inUse()) {
        *registeredName = "n" + std::string(file);
        result = CopyDriverFile(session, file, copyTarget, session.target, true);
    }
    return result;
}

}  // namespace setup
