#pragma once
// The fixed texts of Desinstalar, from its string table, and the log lines
// made of them.
#include <string>
#include <string_view>

#include "programs/program_captions.h"

namespace uninstall {

enum UninstallerStringId : int {
#define UNINSTALLER_STRING(name, id, text) name = id,
#include "uninstaller_strings.inc"
#undef UNINSTALLER_STRING
};

// The text of a string-table entry; empty for an unknown id.
std::string_view UninstallerString(int id);

// A log text with its "%s" replaced by the item's name.
std::string WithItem(std::string_view text, std::string_view itemName);

constexpr std::string_view kCaption = UNINSTALLER_TEXT_CAPTION;
// The caption of the start-up failures' message boxes.
constexpr std::string_view kErrorCaption = "Error";
constexpr std::string_view kNoWinspool = "Sem a lib Winspool";
constexpr std::string_view kRemovingUsbDriver = "Apagando USB Device Driver, favor aguardar...";
constexpr std::string_view kUsbDriverRemoved = "USB Device Driver foi deletada";
constexpr std::string_view kNoSystemDirectory = "Get system Directory error.";
constexpr std::string_view kNoProcessorDirectory = "Erro ao ler o Diretório do Sistema";
constexpr std::string_view kUsbToolWindow = "QTRX print system setup";
// The package's USB driver tool, below the current folder.
constexpr std::string_view kUsbTool = "USBDrv\\Install.exe";
// A program that could not be started: this text, its name and the error.
constexpr std::string_view kRunFailed = "Erro ao executar ";
// Put between a failure's text and its system error code.
constexpr std::string_view kErrorCode = "    er=";
// A removal that failed unexpectedly (memory running out, say).
constexpr std::string_view kRemovalFailed = "Erro inesperado durante a desinstalação";
constexpr std::string_view kHelpViewerCaption = "Uninstall";
constexpr std::string_view kHelpFile = ".\\Uninstall_EN.CHM";
constexpr std::string_view kOtherHelpFile = ".\\Uninstall_CN.CHM";

}  // namespace uninstall
