#pragma once
// The "Operação" document page and the dialog it opens: what the printer does
// when a document starts, a page starts, a page ends and a document ends. Each
// moment is one OperationSettings record of the private device mode; the page
// edits the record in place, through a scratch copy that the dialog works on,
// so that the record changes only when the dialog closes with OK.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/private_devmode.h"
#include "ports/controls.h"

namespace plugin {

// The moments, in the order the dialog's captions and the page's buttons use.
inline constexpr int kOperationDocumentStart = 0;
inline constexpr int kOperationPageStart = 1;
inline constexpr int kOperationPageEnd = 2;
inline constexpr int kOperationDocumentEnd = 3;
inline constexpr int kOperationCount = 4;

// The record of moment `operation` (0..3). The records do not lie in the
// device mode in this order: the document's end comes before the page's end.
OperationSettings& OperationRecord(PrivateDevmode& devmode, int operation);

// The dialog's captions by moment.
inline constexpr std::array<std::string_view, kOperationCount> kOperationCaptions = {
    "Operação de início do documento",
    "Operação de início da página",
    "Operação de fim da página",
    "Operação de fim do documento",
};

// The lists, by the index each entry stores. The drawer entries are the ones
// the driver has always shown, blanks included.
inline constexpr std::array<std::string_view, 13> kDrawerPulseTexts = {
    "Sem Gaveta",
    "Tempo da Gaveta #1  10ms",
    "Tempo da Gaveta #1  20ms",
    "Tempo da Gaveta #1  40ms",
    "Tempo da Gaveta #1  60ms",
    "Tempo da Gaveta #2  10ms",
    "Tempo da Gaveta #2  20ms",
    "Tempo da Gaveta #2  40ms",
    "Tempo da Gaveta #2  60ms",
    "Tempo da Gaveta#1+#2  10ms",
    "Tempo da Gaveta#1+#2  20ms",
    "Tempo da Gaveta#1+#2  40ms",
    "Tempo da Gaveta#1+#2  60ms",
};
inline constexpr std::array<std::string_view, 2> kHeraldStateTexts = {"Habilitar", "Desabilitar"};
inline constexpr std::array<std::string_view, 6> kBuzzerTexts = {
    "Não toca", "Toca uma vez", "Toca três vezes", "Toca cinco vezes", "Toca dez vezes", "Toca vinte vezes",
};
inline constexpr std::array<std::string_view, 3> kCutModeTexts = {"Sem Corte", "Corte Parcial", "Corte Total"};
inline constexpr std::array<std::string_view, 10> kLogoTexts = {
    "Não imprimir logo", "Imprimir Logo1", "Imprimir Logo2", "Imprimir Logo3", "Imprimir Logo4",
    "Imprimir Logo5",    "Imprimir Logo6", "Imprimir Logo7", "Imprimir Logo8", "Imprimir Logo9",
};

// The paper feed in millimetres: the feed box takes three digits, and what it
// holds beyond this is taken as this.
inline constexpr int kMaxFeedMm = 100;
inline constexpr int kFeedTextLimit = 3;

// The operation dialog (template IDD_OPERATION_DIALOG) of one moment. It shows
// `settings` and writes the controls back into it on OK only; Cancel leaves it
// as it was. `settings` is the page's scratch copy, never the device mode.
//
// The command box (IDC_OP_COMMAND) filters keystrokes: only hexadecimal digits,
// the blank and editing keys reach it. That filter is a window procedure, so
// the platform's binding of this dialog subclasses the box on WM_INITDIALOG
// (plugin_win32::InstallCommandEditFilter); this class only moves the text.
class OperationDialog : public plat::DialogHandler {
public:
    OperationDialog(OperationSettings& settings, int operation) : settings_(settings), operation_(operation) {}

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;

private:
    // Every control shows `shown`; the lists must have been filled.
    void ShowValues(plat::Controls& controls, const OperationSettings& shown);
    void EnableDrawerLists(plat::Controls& controls);
    void EnableLogoRadios(plat::Controls& controls);
    void OnFeedChanged(plat::Controls& controls);
    // Takes the controls into settings_ and closes the dialog with OK, unless
    // the command is too long for its record.
    void OnOk(plat::Controls& controls);

    OperationSettings& settings_;
    int operation_;
};

// The "Operação" page (template IDD_OPERATION_PAGE), editing the device mode
// it is given in place.
class OperationPage : public plat::DialogHandler {
public:
    explicit OperationPage(PrivateDevmode& devmode) : devmode_(devmode) {}

    void OnInit(plat::Controls&) override {}
    // The four buttons: the dialog of that moment, on a scratch copy; OK
    // stores the copy and lights the sheet's Apply button.
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    // The record is already in the device mode; the sheet has nothing more to
    // apply from this page. The platform's binding also tells the common
    // property-sheet UI that the page's result is OK (CPSFUNC_SET_RESULT).
    bool OnApply(plat::Controls& controls) override;

private:
    PrivateDevmode& devmode_;
    // The scratch copy the dialog works on, with its moment. The driver has
    // always kept one such copy for the whole process; it lives here instead,
    // with the page, so that two sheets open at once (two documents) cannot
    // write into each other's copy. The dialog is modal: one copy is enough.
    OperationSettings scratch_{};
    int scratchOperation_ = kOperationDocumentStart;
};

}  // namespace plugin
