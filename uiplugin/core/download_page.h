#pragma once
// The "Baixar" printer page (template 113): a file the user picks sent to the
// printer byte for byte, and the list of up to nine monochrome bitmaps that
// the printer stores as its non-volatile logos, downloaded all in one job or
// cleared all at once. Nothing of the page is kept: the list starts empty
// each time the page is made and goes with it.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/list_column.h"
#include "core/logo_bitmap.h"
#include "core/logo_files.h"
#include "ports/controls.h"
#include "ports/spooler.h"

namespace plugin {

constexpr std::string_view kFirmwareJobName = "FIRMWARE";
// A file to send is read whole into memory first; larger ones are refused
// as the memory they would need.
constexpr std::uint64_t kMaxSendBytes = 256u * 1024u * 1024u;

// The logo list's columns, in order: ID, file name, full path.
constexpr std::array<ListColumn, 3> kLogoColumns{{{"ID", 30}, {"Nome", 150}, {"Caminho", 300}}};
constexpr int kLogoIdColumn = 0;
constexpr int kLogoNameColumn = 1;
constexpr int kLogoPathColumn = 2;

// The open-file dialogs of "Procurar" and "Adicionar".
FileChoice SendFileChoice();
FileChoice LogoFileChoice();

class DownloadPage : public plat::DialogHandler {
public:
    DownloadPage(plat::Spooler& spooler, plat::PrinterHandle printer, LogoFiles& files)
        : spooler_(spooler), printer_(printer), files_(files) {}

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    // Nothing to store.
    bool OnApply(plat::Controls&) override { return true; }

    // The file of the selected logo, which the preview shows; nothing when no
    // row is selected.
    std::optional<std::string> SelectedLogoPath(plat::Controls& controls) const;
    const std::vector<LogoRow>& Rows() const { return rows_; }

private:
    void ChooseSendFile(plat::Controls& controls);
    void SendFile(plat::Controls& controls);
    void AddLogo(plat::Controls& controls);
    void DeleteLogo(plat::Controls& controls);
    void DownloadLogos(plat::Controls& controls);
    void ClearLogos(plat::Controls& controls);
    void Show(plat::Controls& controls, LogoVerdict verdict);
    void ShowError(plat::Controls& controls, std::string_view text);

    plat::Spooler& spooler_;
    plat::PrinterHandle printer_;
    LogoFiles& files_;
    // What the list view shows, row for row.
    std::vector<LogoRow> rows_;
};

}  // namespace plugin
