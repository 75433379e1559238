#pragma once
// The simulated print spooler: printers by name (compared without regard to
// case), handles opened on them and the jobs written through those handles,
// each with its bytes and how far it was ended. Sequencing mistakes fail with
// the codes Windows gives; any operation can be made to fail.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ports/spooler.h"

namespace sim {

enum class SpoolerOp {
    OpenPrinter,
    ClosePrinter,
    StartDocPrinter,
    StartPagePrinter,
    WritePrinter,
    EndPagePrinter,
    EndDocPrinter
};

// One document as the spooler holds it.
struct SimJob {
    std::uint32_t id = 0;
    std::string docName;
    std::string dataType;
    std::vector<std::uint8_t> bytes;  // everything the spooler took, in order
    int pagesStarted = 0;
    int pagesEnded = 0;
    bool ended = false;  // EndDocPrinter succeeded on it
};

class SimSpooler : public plat::Spooler {
public:
    long OpenPrinter(std::string_view name, plat::PrinterHandle* printer) override;
    long ClosePrinter(plat::PrinterHandle printer) override;
    long StartDocPrinter(plat::PrinterHandle printer, std::string_view docName, std::string_view dataType,
                         std::uint32_t* jobId) override;
    long StartPagePrinter(plat::PrinterHandle printer) override;
    long WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                      std::uint32_t* written) override;
    long EndPagePrinter(plat::PrinterHandle printer) override;
    long EndDocPrinter(plat::PrinterHandle printer) override;

    // Set-up, and what tests look at; these bypass failures and handles.
    void AddPrinter(std::string_view name);
    // The jobs of a printer in the order they were started; none for an
    // unknown printer.
    const std::vector<SimJob>& Jobs(std::string_view printer) const;
    std::size_t OpenHandleCount() const { return handles_.size(); }

    // Makes every later `op` fail with `error` and change nothing.
    void Fail(SpoolerOp op, long error) { failures_[op] = error; }
    // Every later WritePrinter takes at most `maxBytes` bytes and reports
    // that count, as a spooler short of room does.
    void LimitWrites(std::uint32_t maxBytes) { writeLimit_ = maxBytes; }

private:
    struct Handle {
        std::string printer;  // lower-cased name
        bool docOpen = false;
        std::size_t job = 0;  // index of the open document in its printer's jobs
        bool pageOpen = false;
    };
    long Failure(SpoolerOp op) const;
    // The handle's state, or nullptr (ERROR_INVALID_HANDLE) for one not open.
    Handle* Find(plat::PrinterHandle printer);
    // The checks of every call inside a document, in the platform's order:
    // the handle, an injected failure, an open document.
    long InDocument(plat::PrinterHandle printer, SpoolerOp op, Handle** handle);
    SimJob& JobOf(const Handle& handle) { return printers_.at(handle.printer)[handle.job]; }

    std::map<std::string, std::vector<SimJob>> printers_;  // by lower-cased name
    std::map<plat::PrinterHandle, Handle> handles_;
    std::map<SpoolerOp, long> failures_;
    plat::PrinterHandle nextHandle_ = 0x200;
    std::uint32_t nextJobId_ = 1;
    std::uint32_t writeLimit_ = UINT32_MAX;
};

}  // namespace sim
