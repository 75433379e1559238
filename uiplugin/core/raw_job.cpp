#include "core/raw_job.h"

#include <limits>

namespace plugin {

bool SendRawJob(plat::Spooler& spooler, plat::PrinterHandle printer, std::string_view docName,
                std::span<const std::uint8_t> bytes, long* error) {
    long firstError = plat::kErrorSuccess;
    // Keeps the first failure; true when the call succeeded.
    const auto succeeded = [&firstError](long result) {
        if (result != plat::kErrorSuccess && firstError == plat::kErrorSuccess) firstError = result;
        return result == plat::kErrorSuccess;
    };
    const auto finish = [&](bool ok) {
        if (error) *error = firstError;
        return ok;
    };

    // One WritePrinter call takes at most a DWORD's worth; a larger buffer is
    // refused before anything starts rather than sent cut short.
    if constexpr (sizeof(std::size_t) > sizeof(std::uint32_t)) {
        if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
            firstError = plat::kErrorInvalidParameter;
            return finish(false);
        }
    }
    const auto count = static_cast<std::uint32_t>(bytes.size());

    std::uint32_t jobId = 0;
    if (!succeeded(spooler.StartDocPrinter(printer, docName, kRawDataType, &jobId))) return finish(false);
    if (!succeeded(spooler.StartPagePrinter(printer))) {
        succeeded(spooler.EndDocPrinter(printer));
        return finish(false);
    }
    std::uint32_t written = 0;
    if (!succeeded(spooler.WritePrinter(printer, bytes.data(), count, &written))) {
        succeeded(spooler.EndPagePrinter(printer));
        succeeded(spooler.EndDocPrinter(printer));
        return finish(false);
    }
    if (!succeeded(spooler.EndPagePrinter(printer))) {
        succeeded(spooler.EndDocPrinter(printer));
        return finish(false);
    }
    if (!succeeded(spooler.EndDocPrinter(printer))) return finish(false);
    return finish(written == count);
}

std::string RawJobFailureText(std::string_view what, long error) {
    std::string text = "Falha ao enviar ";
    text.append(what).append(" para a impressora!\n");
    if (error == plat::kErrorSuccess) return text + "O spooler não aceitou todos os dados.";
    return text + "Código de erro = " + std::to_string(error);
}

void SendRawJobOrReport(plat::Controls& controls, plat::Spooler& spooler, plat::PrinterHandle printer,
                        std::string_view docName, std::span<const std::uint8_t> bytes, std::string_view what) {
    long error = plat::kErrorSuccess;
    if (SendRawJob(spooler, printer, docName, bytes, &error)) return;
    controls.ShowMessage(RawJobFailureText(what, error), "Erro", plat::kMbOk);
}

}  // namespace plugin
