// The plug-in's pages in real comctl32 property sheets, shown by the stand-in
// Unidrv host: tab order, captions with their accents, the "Versão" page.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "automation/automation.h"
#include "automation/fit_tally.h"

namespace {

struct Sheet {
    const char* kind;
    const char* page;     // the page shown in the picture
    const char* picture;  // its name among the artifacts
    std::vector<std::string> tabs;
};

// Every dialog template of the plug-in: its pages and its dialogs.
TEST(PluginTemplates, EveryTemplateWorksFromTheKeyboard) {
    const std::string plugin = automation::EnvVar("PP_PLUGIN");
    ASSERT_FALSE(plugin.empty()) << "PP_PLUGIN names the built library";
    automation::ExpectTemplatesWork("plug-in", automation::FullPath(automation::Widen(plugin)));
}

class PluginSheets : public ::testing::TestWithParam<Sheet> {};

TEST_P(PluginSheets, ShowTheirPagesInOrder) {
    const Sheet& sheet = GetParam();
    const std::string host = automation::EnvVar("PP_HOST");
    const std::string plugin = automation::EnvVar("PP_PLUGIN");
    ASSERT_FALSE(host.empty() || plugin.empty()) << "PP_HOST and PP_PLUGIN name the built programs";
    std::string artifacts = automation::EnvVar("PP_ARTIFACTS");
    if (artifacts.empty()) artifacts = ".";
    const std::string name = sheet.picture;
    const std::string picture = artifacts + "/" + name + ".bmp";
    const std::string tabs = artifacts + "/" + name + ".txt";
    std::remove(tabs.c_str());

    automation::Process process;
    const std::wstring arguments = L"\"" + automation::FullPath(automation::Widen(plugin)) + L"\" " +
                                   automation::Widen(sheet.kind) + L" --snapshot \"" + automation::Widen(picture) +
                                   L"\" \"" + automation::Widen(tabs) + L"\" " + automation::Widen(sheet.page);
    ASSERT_TRUE(process.Start(automation::FullPath(automation::Widen(host)), L"", arguments));
    DWORD exitCode = 1;
    ASSERT_TRUE(process.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 0u) << "the host loads the plug-in, shows the sheet and saves it";

    std::ifstream in(tabs, std::ios::binary);
    std::vector<std::string> seen;
    for (std::string line; std::getline(in, line);) seen.push_back(line);
    EXPECT_EQ(seen, sheet.tabs);
}

const std::vector<std::string> kDocumentTabs = {"Principal", "Marca d'água", "Operação",
                                                "Código 1D", "Código 2D",    "Versão"};
const std::vector<std::string> kPrinterTabs = {"Utilitário", "Baixar", "Fonte", "Versão"};

INSTANTIATE_TEST_SUITE_P(Sheets, PluginSheets,
                         ::testing::Values(Sheet{"document", "5", "plugin-document-sheet", kDocumentTabs},
                                           Sheet{"document", "1", "plugin-host-watermark-page", kDocumentTabs},
                                           Sheet{"document", "3", "plugin-host-barcode1d-page", kDocumentTabs},
                                           Sheet{"printer", "3", "plugin-printer-sheet", kPrinterTabs},
                                           Sheet{"printer", "2", "plugin-host-font-page", kPrinterTabs}),
                         [](const auto& info) {
                             std::string name = info.param.picture;
                             std::erase(name, '-');
                             return name;
                         });

}  // namespace
