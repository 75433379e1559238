#pragma once
// The print spooler coming back after a restart, as both programs wait for
// it, and the texts they give when it does not: Setup in its result,
// Desinstalar in its log.
#include <string>
#include <string_view>

namespace plat {

// The spooler's state is asked up to 10 times, 300 ms apart, for it to run.
constexpr int kSpoolerRunningQueries = 10;
constexpr unsigned kSpoolerRunningQueryInterval = 300;

// StartService refused to start the spooler with `error`.
inline std::string SpoolerStartFailedText(long error) {
    return "Erro ao iniciar o serviço de spool, código erro = " + std::to_string(static_cast<unsigned long>(error));
}
// The spooler was started yet never ran while its state was asked.
constexpr std::string_view kSpoolerNotRunningText = "StartSpoolService error";

}  // namespace plat
