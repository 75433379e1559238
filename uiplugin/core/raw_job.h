#pragma once
// One raw print job: bytes that go to the printer unchanged through the
// spooler (the self-test, the logo clearing, a firmware file).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ports/controls.h"
#include "ports/spooler.h"

namespace plugin {

// The data type of a job whose bytes reach the printer as they are.
constexpr std::string_view kRawDataType = "RAW";

// Starts a document named `docName` on `printer`, writes all of `bytes` in one
// call within one page, and ends the page and the document. Whatever call
// fails, the page and the document that were started are ended again. True
// only when every call succeeded and the spooler took every byte.
//
// `error` (when given) receives the code of the first call that failed: the
// cause, not a later failure while cleaning up. It is 0 on success and also
// when every call succeeded but the spooler took fewer bytes than given. No
// message is shown either way; callers decide.
[[nodiscard]] bool SendRawJob(plat::Spooler& spooler, plat::PrinterHandle printer, std::string_view docName,
                              std::span<const std::uint8_t> bytes, long* error = nullptr);

// The text of the "Erro" box for a job that did not reach the printer: what
// was being sent ("o autoteste") and the system's code, or, when every call
// succeeded but the spooler took fewer bytes, that part of the data is missing.
std::string RawJobFailureText(std::string_view what, long error);

// A job a button sends: as SendRawJob, and when it fails, one "Erro" box
// names `what` and the code, so a click that printed nothing never looks
// like one that did. Success shows nothing.
void SendRawJobOrReport(plat::Controls& controls, plat::Spooler& spooler, plat::PrinterHandle printer,
                        std::string_view docName, std::span<const std::uint8_t> bytes, std::string_view what);

}  // namespace plugin
