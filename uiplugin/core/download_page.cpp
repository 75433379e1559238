#include "core/download_page.h"

#include <span>

#include "core/raw_job.h"
#include "resource.h"

namespace plugin {
namespace {

constexpr std::string_view kErrorCaption = "Erro";
constexpr std::string_view kSendSizeFailed = "Falha ao ler o tamanho do arquivo selecionado!";
constexpr std::string_view kSendNoMemory = "Falha ao alocar a memória necessária!";
constexpr std::string_view kSendReadFailed = "Falha na leitura dos dados do arquivo!";

// A bitmap the printer takes is at most its headers and 2304 rows of 1024
// bytes; a file far past that is no logo, and is not read into memory.
constexpr std::uint64_t kMaxLogoFileBytes = 4u * 1024u * 1024u;

// A listed logo that can no longer be read whole, named by its path.
std::string LogoReadFailureText(std::string_view path, const FileRead& file) {
    std::string text = "Falha ao ler o logo ";
    text.append(path).append("!");
    if (file.systemError != 0) text += "\nCódigo de erro = " + std::to_string(file.systemError);
    return text;
}

// A listed logo that is no longer one the printer takes, with the reason the
// page gives when such a file is added.
std::string LogoRefusedText(std::string_view path, std::string_view reason) {
    std::string text = "O logo ";
    text.append(path).append(" não pode ser enviado:\n").append(reason);
    return text;
}

}  // namespace

FileChoice SendFileChoice() {
    return {"Please select a file",
            {"*.JK", "*.JK", "*.DAT", "*.DAT", "*.FNT", "*.FNT", "*.ZK", "*.ZK", "*.EEP", "*.EEP", "*.*", "*.*"}};
}

FileChoice LogoFileChoice() {
    return {"Please Select a Logo file", {"*.bmp", "*.bmp"}};
}

void DownloadPage::OnInit(plat::Controls& controls) {
    controls.SetReadOnly(IDC_DL_PATH, true);
    controls.Enable(IDC_DL_BROWSE, true);
    controls.Enable(IDC_DL_SEND, false);
    controls.ClearItems(IDC_DL_LOGOS);
    rows_.clear();
}

void DownloadPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (notifyCode != plat::kBnClicked) return;
    switch (id) {
        case IDC_DL_BROWSE:
            ChooseSendFile(controls);
            break;
        case IDC_DL_SEND:
            SendFile(controls);
            break;
        case IDC_DL_ADD:
            AddLogo(controls);
            break;
        case IDC_DL_DELETE:
            DeleteLogo(controls);
            break;
        case IDC_DL_DOWNLOAD:
            DownloadLogos(controls);
            break;
        case IDC_DL_CLEAR:
            ClearLogos(controls);
            break;
    }
}

std::optional<std::string> DownloadPage::SelectedLogoPath(plat::Controls& controls) const {
    const int selected = controls.Selection(IDC_DL_LOGOS);
    if (selected < 0 || static_cast<std::size_t>(selected) >= rows_.size()) return std::nullopt;
    return rows_[static_cast<std::size_t>(selected)].path;
}

void DownloadPage::ChooseSendFile(plat::Controls& controls) {
    const std::optional<ChosenFile> chosen = files_.ChooseFile(controls.Window(), SendFileChoice());
    if (!chosen) return;
    controls.SetText(IDC_DL_PATH, chosen->path);
    controls.Enable(IDC_DL_SEND, true);
}

void DownloadPage::SendFile(plat::Controls& controls) {
    const std::string path = controls.GetText(IDC_DL_PATH);
    if (path.empty()) return;
    const FileRead file = files_.Read(path, kMaxSendBytes);
    switch (file.error) {
        case FileReadError::kNone:
            break;
        case FileReadError::kOpenFailed:
            return Show(controls, LogoVerdict::kOpenFailed);
        case FileReadError::kSizeFailed:
            return ShowError(controls, kSendSizeFailed);
        case FileReadError::kTooLarge:
            return ShowError(controls, kSendNoMemory);
        case FileReadError::kReadFailed:
            return ShowError(controls, kSendReadFailed);
    }
    // The file goes as it is, whatever it holds: the printer knows its own
    // firmware and font formats.
    SendRawJobOrReport(controls, spooler_, printer_, kFirmwareJobName, file.bytes, "o arquivo");
}

void DownloadPage::AddLogo(plat::Controls& controls) {
    if (rows_.size() >= kMaxLogos) return Show(controls, LogoVerdict::kListFull);
    const std::optional<ChosenFile> chosen = files_.ChooseFile(controls.Window(), LogoFileChoice());
    if (!chosen) return;
    const FileRead file = files_.Read(chosen->path, kMaxLogoFileBytes);
    switch (file.error) {
        case FileReadError::kNone:
            break;
        case FileReadError::kOpenFailed:
            return Show(controls, LogoVerdict::kOpenFailed);
        case FileReadError::kSizeFailed:
        case FileReadError::kReadFailed:
            return Show(controls, LogoVerdict::kReadCallFailed);
        case FileReadError::kTooLarge:
            return Show(controls, LogoVerdict::kTooBig);
    }
    const LogoAcceptance acceptance = AcceptLogo(file.bytes, rows_.size());
    if (acceptance.verdict != LogoVerdict::kAccepted) return Show(controls, acceptance.verdict);

    LogoRow row{static_cast<std::uint32_t>(rows_.size() + 1), chosen->name, chosen->path};
    const int index = controls.AddItem(IDC_DL_LOGOS, LogoIdText(row.id));
    controls.SetItemText(IDC_DL_LOGOS, index, kLogoNameColumn, row.name);
    controls.SetItemText(IDC_DL_LOGOS, index, kLogoPathColumn, row.path);
    rows_.push_back(std::move(row));
    controls.Focus(IDC_DL_LOGOS);
}

void DownloadPage::DeleteLogo(plat::Controls& controls) {
    if (rows_.empty()) return;
    const int selected = controls.Selection(IDC_DL_LOGOS);
    if (selected < 0 || static_cast<std::size_t>(selected) >= rows_.size()) return;
    DeleteLogoRow(rows_, static_cast<std::size_t>(selected));
    controls.DeleteItem(IDC_DL_LOGOS, selected);
    // The IDs are the numbers the printer stores the logos under: 1..n, no gaps.
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        controls.SetItemText(IDC_DL_LOGOS, static_cast<int>(i), kLogoIdColumn, LogoIdText(rows_[i].id));
    }
    controls.Focus(IDC_DL_LOGOS);
}

void DownloadPage::DownloadLogos(plat::Controls& controls) {
    if (rows_.empty()) return Show(controls, LogoVerdict::kNoLogos);
    std::vector<std::uint64_t> sizes;
    for (const LogoRow& row : rows_) sizes.push_back(files_.Size(row.path).value_or(0));
    const LogoVerdict budget = CheckLogoBudget(sizes);
    if (budget != LogoVerdict::kAccepted) return Show(controls, budget);

    // Every file is read and checked before the first byte goes out: a job
    // cut short inside an image definition would make the printer take what
    // follows as picture data. A listed file changed or gone since it was
    // added is named, and nothing is sent.
    std::vector<std::vector<std::uint8_t>> files;
    for (const LogoRow& row : rows_) {
        FileRead file = files_.Read(row.path, kLogoBudget - 1);
        if (file.error != FileReadError::kNone) return ShowError(controls, LogoReadFailureText(row.path, file));
        const LogoVerdict verdict = AcceptLogo(file.bytes, 0).verdict;
        if (verdict != LogoVerdict::kAccepted) {
            return ShowError(controls, LogoRefusedText(row.path, MessageFor(verdict).text));
        }
        files.push_back(std::move(file.bytes));
    }
    std::vector<std::span<const std::uint8_t>> spans(files.begin(), files.end());
    const std::optional<std::vector<std::uint8_t>> job = BuildLogoJob(spans);
    if (!job) return ShowError(controls, RawJobFailureText("os logos", plat::kErrorInvalidParameter));
    SendRawJobOrReport(controls, spooler_, printer_, kLogoJobName, *job, "os logos");
}

void DownloadPage::ClearLogos(plat::Controls& controls) {
    SendRawJobOrReport(controls, spooler_, printer_, kClearLogosJobName, kClearLogosCommand,
                       "o comando de limpar os logos");
}

void DownloadPage::Show(plat::Controls& controls, LogoVerdict verdict) {
    const LogoMessage message = MessageFor(verdict);
    controls.ShowMessage(message.text, message.caption, plat::kMbOk);
}

void DownloadPage::ShowError(plat::Controls& controls, std::string_view text) {
    controls.ShowMessage(text, kErrorCaption, plat::kMbOk);
}

}  // namespace plugin
