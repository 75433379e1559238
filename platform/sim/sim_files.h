#pragma once
// The simulated machine's file tree: full paths compared without regard to
// case, "/" and "\" alike, names held in the ANSI code page as the system
// holds them (every call takes and gives UTF-8, as the ports do).
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ports/files.h"

namespace sim {

class FaultPlan;

class SimFiles : public plat::FilesInstall {
public:
    // The machine's plan of failures, consulted on entry of every call.
    FaultPlan* faults = nullptr;

    // Version texts are set by the tests: a file without one has no version
    // resource.
    std::optional<std::string> VersionText(std::string_view path) override;
    // Clears read-only; false for a path that names nothing.
    bool SetArchiveAttribute(std::string_view path) override;
    // Clears read-only, the one attribute held here; 2 for a file that is not
    // there, 3 when its folder is not either.
    plat::Error ClearReadOnly(std::string_view path) override;
    // A file, or a folder as FolderExists sees it.
    bool FileExists(std::string_view path) override;
    // Copies content, version and the read-only attribute. Fails with 2 for
    // a missing source, 5 for a read-only destination, 80 for
    // an existing destination with `failIfExists`, 3 when the destination's
    // folder holds no file at all and was never made (see MakeFolder), 32 for
    // a file copied onto itself or from a source held open without sharing,
    // and the error of HoldOpen or FailCopy.
    plat::Error CopyFile(std::string_view source, std::string_view destination, bool failIfExists) override;
    // 2 for a missing file, 5 for a read-only one; a file held open
    // (HoldOpen) cannot be deleted (its error).
    plat::Error DeleteFile(std::string_view path) override;
    // Makes the folder as MakeFolder does: 0 also when a folder of that name
    // exists (made, or implied by what lies below it); 183 for a file of that
    // name, 3 when the parent folder does not exist.
    plat::Error CreateFolder(std::string_view path) override;
    // The files and made folders directly in `folder`, by name without regard
    // to case, with "." and ".." first as the system lists them; 3 for a
    // folder that does not exist.
    plat::Error ListFolder(std::string_view folder, std::vector<std::string>* names) override;
    void SetVersion(std::string_view path, std::string version);
    // The read-only attribute of an existing file, as a CD's files have it.
    void SetReadOnly(std::string_view path);
    bool IsReadOnly(std::string_view path) const;
    // Every path whose attributes were reset, existing or not.
    std::vector<std::string> archived;

    void Write(std::string_view path, std::string content);
    bool Remove(std::string_view path);
    std::optional<std::string> Read(std::string_view path) const;
    bool Exists(std::string_view path) const { return files_.count(Key(path)) != 0; }
    // A folder that exists even while it holds no file.
    void MakeFolder(std::string_view path);
    // Undoes MakeFolder: the folder is gone unless something lies below it.
    void RemoveFolder(std::string_view path);
    // A folder exists when it was made, or when any file or made folder lies
    // somewhere below it; there is no separate tree of folders. A drive root
    // ("C:") always exists.
    bool FolderExists(std::string_view path) const;

    // The system holds `path` open: copies onto it fail with `error` (32, or
    // 5 for a file loaded by the spooler) and change nothing. Held with 32
    // (no sharing), it cannot be read either: copies from it fail with 32.
    void HoldOpen(std::string_view path, long error = plat::kErrorSharingViolation);
    void Release(std::string_view path);
    // Every later copy whose destination contains `pathPart` (any when empty)
    // fails with `error`; copies after the first `after` such copies only.
    void FailCopy(long error, std::string pathPart = {}, int after = 0);
    void ClearFailures();
    // Every copy that succeeded, in order.
    struct Copy {
        std::string source;
        std::string destination;
    };
    std::vector<Copy> copies;

private:
    struct CopyFailure {
        long error;
        std::string pathPart;  // as Key() folds it
        int after;
        int seen = 0;  // matching copies so far
    };
    static std::string Key(std::string_view path);
    // The path as Key() shapes it but in the case it was first given: what a
    // folder listing shows.
    static std::string Spelling(std::string_view path);
    void Name(std::string_view path);
    bool RemoveKey(const std::string& key);
    bool FolderExistsKey(const std::string& folder) const;
    // The injected failure of a copy onto `destination` (a key), counting it
    // against every rule it matches.
    long InjectedFailure(const std::string& destination);

    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> versions_;
    std::set<std::string> folders_;
    std::set<std::string> readOnly_;
    std::map<std::string, std::string> spellings_;  // by key, for files and made folders
    std::map<std::string, long> held_;
    std::vector<CopyFailure> copyFailures_;
};

}  // namespace sim
