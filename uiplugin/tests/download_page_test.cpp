#include "tests/opened_printer.h"
#include "core/download_page.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "fake_logo_files.h"
#include "test_bitmaps.h"
#include "resource.h"
#include "sim/sim_controls.h"
#include "sim/sim_spooler.h"

namespace {

using namespace plugin;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kPrinter = "KTR-P410";

// A 1-bit bitmap of `width` x `height` dots, every dot printed: headers,
// palette, then rows padded to 4 bytes.
Bytes Solid(std::uint32_t width, std::uint32_t height) {
    Bytes file = plugin_test::BlankBmp(static_cast<int>(width), static_cast<int>(height), 1, 62);
    plugin::PutU32(file, 58, 0x00FFFFFF);  // palette entry 1: white
    return file;
}

struct DownloadFixture : ::testing::Test {
    void Open() { page.OnInit(sheet); }
    void Click(int id) { page.OnCommand(sheet, id, plat::kBnClicked); }
    // "Adicionar" with the user picking `path` (nothing: Cancel).
    void Add(std::optional<std::string> path) {
        files.answers.push_back(std::move(path));
        Click(IDC_DL_ADD);
    }
    void PutLogo(const std::string& path, const Bytes& bytes = Solid(8, 8)) { files.files[path] = bytes; }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> cells;
        for (int i = 0; i < sheet.ItemCount(IDC_DL_LOGOS); ++i)
            cells.push_back(sheet.ItemText(IDC_DL_LOGOS, i, column));
        return cells;
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : sheet.boxes) texts.push_back(box.text);
        return texts;
    }
    const std::vector<sim::SimJob>& Jobs() { return spooler.Jobs(kPrinter); }

    sim::SimSpooler spooler;
    plat::PrinterHandle printer = plugin_test::OpenedPrinter(spooler, kPrinter);
    sim::SimControls sheet;
    plugin_test::FakeLogoFiles files;
    DownloadPage page{spooler, printer, files};
};

TEST_F(DownloadFixture, OpensWithSendDisabledAndEmptyList) {
    sheet.AddItem(IDC_DL_LOGOS, "left over");
    Open();
    EXPECT_TRUE(sheet.Get(IDC_DL_PATH).readOnly);
    EXPECT_FALSE(sheet.IsEnabled(IDC_DL_SEND));
    EXPECT_EQ(sheet.ItemCount(IDC_DL_LOGOS), 0);
}

TEST_F(DownloadFixture, FirmwareFileIsSentUnchangedAsOneJob) {
    Open();
    Bytes firmware;
    for (int i = 0; i < 3000; ++i) firmware.push_back(static_cast<std::uint8_t>(i * 7));
    files.files["C:\\fw\\KTR410.bmp"] = firmware;  // the extension plays no part
    files.answers.push_back(std::nullopt);
    Click(IDC_DL_BROWSE);
    EXPECT_FALSE(sheet.IsEnabled(IDC_DL_SEND)) << "Cancel changes nothing";
    files.answers.push_back("C:\\fw\\KTR410.bmp");
    Click(IDC_DL_BROWSE);
    EXPECT_EQ(files.titles.back(), "Please select a file");
    EXPECT_EQ(sheet.Text(IDC_DL_PATH), "C:\\fw\\KTR410.bmp");
    ASSERT_TRUE(sheet.IsEnabled(IDC_DL_SEND));

    Click(IDC_DL_SEND);
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0].docName, "FIRMWARE");
    EXPECT_EQ(Jobs()[0].dataType, "RAW");
    EXPECT_EQ(Jobs()[0].bytes, firmware);
    EXPECT_TRUE(Jobs()[0].ended);
    EXPECT_TRUE(sheet.boxes.empty());
}

TEST_F(DownloadFixture, FirmwareFileThatCannotBeReadSendsNothing) {
    const struct {
        FileReadError error;
        std::string message;
    } cases[] = {
        {FileReadError::kOpenFailed, "Falha na Abertura do arquivo especificado!"},
        {FileReadError::kSizeFailed, "Falha ao ler o tamanho do arquivo selecionado!"},
        {FileReadError::kTooLarge, "Falha ao alocar a memória necessária!"},
        {FileReadError::kReadFailed, "Falha na leitura dos dados do arquivo!"},
    };
    Open();
    files.files["C:\\fw.dat"] = {1, 2, 3};
    files.answers.push_back("C:\\fw.dat");
    Click(IDC_DL_BROWSE);
    for (const auto& c : cases) {
        sheet.boxes.clear();
        files.failures["C:\\fw.dat"] = c.error;
        Click(IDC_DL_SEND);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(sheet.boxes[0].caption, "Erro");
    }
    EXPECT_TRUE(Jobs().empty());
}

TEST_F(DownloadFixture, AddedLogosFillTheColumns) {
    Open();
    PutLogo("C:\\logos\\loja.bmp");
    PutLogo("C:\\logos\\marca.bmp");
    Add("C:\\logos\\loja.bmp");
    Add(std::nullopt);
    Add("C:\\logos\\marca.bmp");
    EXPECT_EQ(files.titles.back(), "Please Select a Logo file");
    EXPECT_EQ(Column(kLogoIdColumn), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Column(kLogoNameColumn), (std::vector<std::string>{"loja.bmp", "marca.bmp"}));
    EXPECT_EQ(Column(kLogoPathColumn), (std::vector<std::string>{"C:\\logos\\loja.bmp", "C:\\logos\\marca.bmp"}));
    EXPECT_EQ(sheet.focus, IDC_DL_LOGOS);
    EXPECT_TRUE(sheet.boxes.empty());
}

TEST_F(DownloadFixture, RefusedLogosAreNotListed) {
    Bytes notBm = Solid(8, 8);
    notBm[0] = 'X';
    Bytes twoBits = Solid(8, 8);
    twoBits[28] = 2;
    const struct {
        const char* name;
        std::optional<Bytes> bytes;  // none: the file is missing
        std::optional<FileReadError> failure;
        std::string message;
        std::string caption;
    } cases[] = {
        {"missing", std::nullopt, std::nullopt, "Falha na Abertura do arquivo especificado!", "Erro"},
        {"read call fails", Solid(8, 8), FileReadError::kReadFailed, "Failed to get data from the file!", "Error"},
        {"short", Bytes(61, 0x42), std::nullopt, "Falha na leitura dos dados do arquivo!", "Erro"},
        {"not BM", notBm, std::nullopt, "O logo selecionado não é um bitmap monocromático!", "Erro"},
        {"two bits", twoBits, std::nullopt, "O logo selecionado não é um bitmap monocromático!", "Erro"},
        {"too wide", Solid(8185, 1), std::nullopt,
         "A imagem é muito grande para ser selecionada\nA largura deve ser menor que 1024 Bytes a altura deve ser "
         "menor que 289 bytes!",
         "Erro"},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        files.files.clear();
        files.failures.clear();
        sheet.boxes.clear();
        if (c.bytes) files.files["C:\\l.bmp"] = *c.bytes;
        if (c.failure) files.failures["C:\\l.bmp"] = *c.failure;
        Add("C:\\l.bmp");
        ASSERT_EQ(BoxTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(sheet.boxes[0].caption, c.caption);
        EXPECT_EQ(sheet.ItemCount(IDC_DL_LOGOS), 0);
    }
}

TEST_F(DownloadFixture, TenthLogoIsRefusedBeforeTheDialog) {
    Open();
    PutLogo("C:\\l.bmp");
    for (int i = 0; i < 9; ++i) Add("C:\\l.bmp");
    ASSERT_EQ(sheet.ItemCount(IDC_DL_LOGOS), 9);
    const std::size_t dialogs = files.titles.size();
    Add("C:\\l.bmp");
    EXPECT_EQ(files.titles.size(), dialogs) << "no file dialog for a tenth logo";
    ASSERT_EQ(sheet.boxes.size(), 1u);
    EXPECT_EQ(sheet.boxes[0].text,
              "O número total de logos é 9\nFavor apagar algum logo antes de selecionar outro logo!");
    EXPECT_EQ(sheet.boxes[0].caption, "ok");
    EXPECT_EQ(sheet.ItemCount(IDC_DL_LOGOS), 9);
}

TEST_F(DownloadFixture, DeleteRenumbersTheRest) {
    Open();
    for (const char* path : {"C:\\a.bmp", "C:\\b.bmp", "C:\\c.bmp"}) {
        PutLogo(path);
        Add(path);
    }
    Click(IDC_DL_DELETE);
    EXPECT_EQ(sheet.ItemCount(IDC_DL_LOGOS), 3) << "nothing selected, nothing deleted";
    sheet.Select(IDC_DL_LOGOS, 1);
    ASSERT_EQ(page.SelectedLogoPath(sheet), "C:\\b.bmp");
    Click(IDC_DL_DELETE);
    EXPECT_EQ(Column(kLogoIdColumn), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Column(kLogoPathColumn), (std::vector<std::string>{"C:\\a.bmp", "C:\\c.bmp"}));
    EXPECT_EQ(page.SelectedLogoPath(sheet), std::nullopt);
    sheet.Select(IDC_DL_LOGOS, 1);
    EXPECT_EQ(page.SelectedLogoPath(sheet), "C:\\c.bmp") << "the preview follows the rows that moved up";
}

TEST_F(DownloadFixture, TwoLogosGoInListOrderInOneJob) {
    Open();
    const Bytes first = Solid(8, 8);
    const Bytes second = Solid(40, 10);
    PutLogo("C:\\b.bmp", second);
    PutLogo("C:\\a.bmp", first);
    Add("C:\\b.bmp");
    Add("C:\\a.bmp");
    Click(IDC_DL_DOWNLOAD);
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0].docName, "LOGO");
    const std::span<const std::uint8_t> listed[] = {second, first};
    EXPECT_EQ(Jobs()[0].bytes, BuildLogoJob(listed).value());
    EXPECT_EQ((Bytes(Jobs()[0].bytes.begin(), Jobs()[0].bytes.begin() + 7)),
              (Bytes{0x1C, 0x71, 0x02, 0x08, 0x00, 0x02, 0x00}))
        << "the 40-dot logo first: stride 8, two bands";
    EXPECT_TRUE(Jobs()[0].ended);
}

TEST_F(DownloadFixture, DownloadRefusalsSendNothing) {
    Open();
    Click(IDC_DL_DOWNLOAD);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Favor selecionar primeiramente os logos!"});

    // 65536 bytes in all: the budget is reached exactly.
    PutLogo("C:\\a.bmp", Solid(8, 8));
    Add("C:\\a.bmp");
    PutLogo("C:\\big.bmp");
    Add("C:\\big.bmp");
    files.files["C:\\big.bmp"].resize(0x10000 - Solid(8, 8).size());
    sheet.boxes.clear();
    Click(IDC_DL_DOWNLOAD);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"A soma dos tamanhos de todos os logos excede 64k!"});

    files.files["C:\\big.bmp"].clear();
    sheet.boxes.clear();
    Click(IDC_DL_DOWNLOAD);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Falha ao ler o tamanho do logo!"}) << "a file of size 0";

    // A listed file that is no longer a logo, or can no longer be read:
    // nothing at all reaches the printer, and the file is named.
    files.files["C:\\big.bmp"] = Bytes(100, 0x55);
    sheet.boxes.clear();
    Click(IDC_DL_DOWNLOAD);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"O logo C:\\big.bmp não pode ser enviado:\n"
                                                   "O logo selecionado não é um bitmap monocromático!"});
    files.failures["C:\\a.bmp"] = FileReadError::kReadFailed;
    sheet.boxes.clear();
    Click(IDC_DL_DOWNLOAD);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Falha ao ler o logo C:\\a.bmp!"});
    EXPECT_TRUE(Jobs().empty());
    EXPECT_EQ(sheet.ItemCount(IDC_DL_LOGOS), 2) << "the list is not changed";
}

// Every button that sends a job says so once when the spooler refuses it,
// naming what was sent and the system's code.
TEST_F(DownloadFixture, RefusedJobsAreReportedOnce) {
    struct Row {
        int button;
        sim::SpoolerOp failing;
        long code;
        const char* text;
    };
    const Row rows[] = {
        {IDC_DL_SEND, sim::SpoolerOp::StartDocPrinter, 5,
         "Falha ao enviar o arquivo para a impressora!\nCódigo de erro = 5"},
        {IDC_DL_DOWNLOAD, sim::SpoolerOp::WritePrinter, 1804,
         "Falha ao enviar os logos para a impressora!\nCódigo de erro = 1804"},
        {IDC_DL_CLEAR, sim::SpoolerOp::EndDocPrinter, 1802,
         "Falha ao enviar o comando de limpar os logos para a impressora!\nCódigo de erro = 1802"},
    };
    Open();
    PutLogo("C:\\a.bmp");
    Add("C:\\a.bmp");
    files.files["C:\\firmware.dat"] = Bytes(10, 0x1B);
    sheet.SetText(IDC_DL_PATH, "C:\\firmware.dat");
    spooler.LimitWrites(1);
    Click(IDC_DL_DOWNLOAD);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Falha ao enviar os logos para a impressora!\n"
                                                   "O spooler não aceitou todos os dados."});
    spooler.LimitWrites(std::numeric_limits<std::uint32_t>::max());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        sheet.boxes.clear();
        spooler.ClearFailures();
        spooler.Fail(row.failing, row.code);
        Click(row.button);
        ASSERT_EQ(sheet.boxes.size(), 1u);
        EXPECT_EQ(sheet.boxes[0].text, row.text);
        EXPECT_EQ(sheet.boxes[0].caption, "Erro");
    }
}

TEST_F(DownloadFixture, ClearSendsItsFiveBytesWhateverTheList) {
    Open();
    PutLogo("C:\\a.bmp");
    Add("C:\\a.bmp");
    Click(IDC_DL_CLEAR);
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0].docName, "SELFTEST");
    EXPECT_EQ(Jobs()[0].bytes, (Bytes{0x1C, 0x71, 0x00, 0x00, 0x0A}));
    EXPECT_EQ(sheet.ItemCount(IDC_DL_LOGOS), 1);
    EXPECT_TRUE(sheet.boxes.empty());
}

}  // namespace
