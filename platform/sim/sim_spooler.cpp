#include "sim/sim_spooler.h"

#include <algorithm>
#include <array>

#include "text.h"

namespace sim {

namespace {
// The data types of the standard print processor.
constexpr std::array<std::string_view, 3> kDataTypes{"RAW", "TEXT", "NT EMF 1.008"};
}  // namespace

void SimSpooler::AddPrinter(std::string_view name) {
    printers_.try_emplace(plat::ToLowerAscii(name));
}

const std::vector<SimJob>& SimSpooler::Jobs(std::string_view printer) const {
    static const std::vector<SimJob> kNone;
    auto it = printers_.find(plat::ToLowerAscii(printer));
    return it == printers_.end() ? kNone : it->second;
}

long SimSpooler::Failure(SpoolerOp op) const {
    auto it = failures_.find(op);
    return it == failures_.end() ? plat::kErrorSuccess : it->second;
}

SimSpooler::Handle* SimSpooler::Find(plat::PrinterHandle printer) {
    auto it = handles_.find(printer);
    return it == handles_.end() ? nullptr : &it->second;
}

long SimSpooler::OpenPrinter(std::string_view name, plat::PrinterHandle* printer) {
    if (long error = Failure(SpoolerOp::OpenPrinter)) return error;
    const std::string key = plat::ToLowerAscii(name);
    if (!printers_.contains(key)) return plat::kErrorInvalidPrinterName;
    *printer = nextHandle_++;
    handles_[*printer] = Handle{key};
    return plat::kErrorSuccess;
}

// A document left open stays unfinished in its printer's jobs, so that a test
// sees nobody ended it.
long SimSpooler::ClosePrinter(plat::PrinterHandle printer) {
    if (!Find(printer)) return plat::kErrorInvalidHandle;
    if (long error = Failure(SpoolerOp::ClosePrinter)) return error;
    handles_.erase(printer);
    return plat::kErrorSuccess;
}

long SimSpooler::StartDocPrinter(plat::PrinterHandle printer, std::string_view docName, std::string_view dataType,
                                 std::uint32_t* jobId) {
    Handle* handle = Find(printer);
    if (!handle) return plat::kErrorInvalidHandle;
    if (long error = Failure(SpoolerOp::StartDocPrinter)) return error;
    // One document at a time on a handle.
    if (handle->docOpen) return plat::kErrorInvalidPrinterState;
    if (std::none_of(kDataTypes.begin(), kDataTypes.end(),
                     [&](std::string_view known) { return plat::EqualsNoCase(known, dataType); })) {
        return plat::kErrorInvalidDatatype;
    }
    std::vector<SimJob>& jobs = printers_.at(handle->printer);
    SimJob job;
    job.id = nextJobId_++;
    job.docName = std::string(docName);
    job.dataType = std::string(dataType);
    jobs.push_back(std::move(job));
    handle->docOpen = true;
    handle->job = jobs.size() - 1;
    handle->pageOpen = false;
    *jobId = jobs.back().id;
    return plat::kErrorSuccess;
}

long SimSpooler::InDocument(plat::PrinterHandle printer, SpoolerOp op, Handle** handle) {
    *handle = Find(printer);
    if (!*handle) return plat::kErrorInvalidHandle;
    if (long error = Failure(op)) return error;
    if (!(*handle)->docOpen) return plat::kErrorSplNoStartDoc;
    return plat::kErrorSuccess;
}

long SimSpooler::StartPagePrinter(plat::PrinterHandle printer) {
    Handle* handle = nullptr;
    if (long error = InDocument(printer, SpoolerOp::StartPagePrinter, &handle)) return error;
    handle->pageOpen = true;
    ++JobOf(*handle).pagesStarted;
    return plat::kErrorSuccess;
}

// Pages are optional around the bytes of a raw document: writing needs only
// the document.
long SimSpooler::WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                              std::uint32_t* written) {
    Handle* handle = nullptr;
    if (long error = InDocument(printer, SpoolerOp::WritePrinter, &handle)) return error;
    const std::uint32_t taken = std::min(count, writeLimit_);
    std::vector<std::uint8_t>& kept = JobOf(*handle).bytes;
    if (taken > 0) kept.insert(kept.end(), bytes, bytes + taken);
    *written = taken;
    return plat::kErrorSuccess;
}

// Ending a page that was not started is accepted and changes nothing.
long SimSpooler::EndPagePrinter(plat::PrinterHandle printer) {
    Handle* handle = nullptr;
    if (long error = InDocument(printer, SpoolerOp::EndPagePrinter, &handle)) return error;
    if (handle->pageOpen) {
        handle->pageOpen = false;
        ++JobOf(*handle).pagesEnded;
    }
    return plat::kErrorSuccess;
}

// A page still open is not counted as ended: the record keeps what the caller
// did itself.
long SimSpooler::EndDocPrinter(plat::PrinterHandle printer) {
    Handle* handle = nullptr;
    if (long error = InDocument(printer, SpoolerOp::EndDocPrinter, &handle)) return error;
    JobOf(*handle).ended = true;
    handle->docOpen = false;
    handle->pageOpen = false;
    return plat::kErrorSuccess;
}

}  // namespace sim
