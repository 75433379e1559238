#pragma once
// The one file-copy primitive of the installation: a file of the package's
// folder for the target system copied into one of the system's directories.
#include <string>
#include <string_view>

#include "core/install_session.h"

namespace setup {

// Where a file goes.
enum CopyTarget : int {
    kInfDirectory = 100,             // the Windows directory + "\inf"
    kDriverDirectoryVersion3 = 999,  // the printer-driver directory + "\3"
    kDriverDirectory = 66000,        // GetPrinterDriverDirectory
    kProcessorDirectory = 66001,     // GetPrintProcessorDirectory
    kSystemDirectory = 66002,        // GetSystemDirectory
};

// The platform's codes for a file another program holds: 32, or 5.
constexpr bool IsInUseCode(long error) {
    return error == 32 || error == 5;
}

// What one copy of a package file came to: copied; failed; or refused with
// the system's in-use code (32 or 5) while a file of that name, which then
// serves, lies at the destination.
class [[nodiscard]] CopyResult {
public:
    static constexpr CopyResult Copied() { return CopyResult(kCopiedCode); }
    static constexpr CopyResult Failed() { return CopyResult(kFailedCode); }
    static constexpr CopyResult InUse(long code) { return CopyResult(code); }

    constexpr bool copied() const { return code_ == kCopiedCode; }
    constexpr bool inUse() const { return IsInUseCode(code_); }
    friend constexpr bool operator==(CopyResult, CopyResult) = default;

private:
    static constexpr long kFailedCode = 0;
    static constexpr long kCopiedCode = 1;
    constexpr explicit CopyResult(long code) : code_(code) {}
    long code_;
};

// Directory texts live in 256-character buffers, paths in MAX_PATH ones.
constexpr std::size_t kDirectoryBuffer = 256;
constexpr std::size_t kMaxPath = 260;

// The directory of a copy target, without a trailing backslash. On failure
// the directory's message is in the session's result and the result is false.
bool CopyTargetDirectory(InstallSession& session, int copyTarget, std::string* directory);

// Every copy the installation makes into the system's folders. The copy is
// ours: a read-only file of that name left there (by an installation from a
// CD, say) is made writable first, unless `failIfExists` keeps it anyway, and
// the copy gets normal attributes whatever the source had, so that a later
// installation or update can replace it. The platform's error (0 success).
plat::Error CopyWithNormalAttributes(plat::FilesInstall& files, const std::string& source, const std::string& destination,
                              bool failIfExists);

// What a copy does with a file of its name already at the destination.
enum class Existing {
    kReplace,  // the package's file goes over it
    kKeep,     // it stays and counts as copied (a table the shop has edited)
};

// Copies `file` from the current directory's package folder of `target` into
// the directory of `copyTarget`, as "n" + file with `rename`; the version-3
// folder is made first when the system has none yet. Copied; failed with the
// message in the session's result (or with nothing written for a file name
// that is "none", beginning with '0'); or in use (32 or 5) when a file of that
// name is at the destination and held, the result left untouched. Refused
// with 32 or 5 while nothing lies there, the file would be missing: that is a
// failed copy like any other.
CopyResult CopyDriverFile(InstallSession& session, std::string_view file, int copyTarget, OsCode target, bool rename,
                   Existing existing = Existing::kReplace);

// The copy of an installed or replaced monitor or processor file: when the
// destination is in use the file goes in again as "n" + file, which is then
// the name to register. Returns the CopyDriverFile result of the last attempt
// and the name copied in `registeredName`.
CopyResult CopyComponentFile(InstallSession& session, std::string_view file, int copyTarget,
                             std::string* registeredName);

}  // namespace setup
