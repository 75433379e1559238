#include "tests/opened_printer.h"
#include "core/utility_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ports/desktop.h"
#include "resource.h"
#include "sim/sim_controls.h"
#include "sim/sim_spooler.h"
#include "tests/exchange_round_trip.h"
#include "tests/fake_control_font_file.h"

namespace {

using namespace plugin;

constexpr const char* kPrinter = "KTR-P410";
constexpr std::string_view kTemplateWidthRange = "[ 200 - 800 (0.1mm) ]";

// The page on a printer of the simulated spooler, as the sheet shows it.
struct UtilityFixture : ::testing::Test {
    UtilityFixture() {
        // The template's own texts, which an uninitialised page keeps.
        sheet.SetText(IDC_UTIL_WIDTH_RANGE, kTemplateWidthRange);
    }
    void Open() { page.OnInit(sheet); }
    void Click(int id) { page.OnCommand(sheet, id, plat::kBnClicked); }
    void Type(int id, std::string_view text) {
        sheet.Type(id, text);
        page.OnCommand(sheet, id, plat::kEnChange);
    }
    const plat::FormInfo1* Stored() { return spooler.Form(kUserFormName); }
    void ExpectUninitialised() {
        EXPECT_EQ(sheet.Text(IDC_UTIL_WIDTH), "");
        EXPECT_EQ(sheet.Text(IDC_UTIL_HEIGHT), "");
        EXPECT_EQ(sheet.Text(IDC_UTIL_FORM_NAME), "");
        EXPECT_EQ(sheet.Text(IDC_UTIL_WIDTH_RANGE), kTemplateWidthRange);
        EXPECT_EQ(sheet.Get(IDC_UTIL_WIDTH).textLimit, 0);
        EXPECT_TRUE(sheet.Get(IDC_UTIL_WIDTH_SPIN).positions.empty());
    }

    sim::SimSpooler spooler;
    plat::PrinterHandle printer = plugin_test::OpenedPrinter(spooler, kPrinter);
    sim::SimControls sheet;
    plugin_test::FakeControlFontFile controlFont;
    UtilityPage page{spooler, printer, controlFont};
};

TEST_F(UtilityFixture, MissingFormIsCreatedAndShown) {
    Open();
    ASSERT_NE(Stored(), nullptr);
    EXPECT_EQ(*Stored(),
              (plat::FormInfo1{plat::kFormUser, std::string(kUserFormName), 80000, 297000, 0, 0, 80000, 297000}));
    EXPECT_EQ(sheet.Text(IDC_UTIL_WIDTH), "800");
    EXPECT_EQ(sheet.Text(IDC_UTIL_HEIGHT), "2970");
    EXPECT_EQ(sheet.Get(IDC_UTIL_WIDTH_SPIN).positions, std::vector<int>{800});
    EXPECT_EQ(sheet.Get(IDC_UTIL_HEIGHT_SPIN).positions, std::vector<int>{2970});
    EXPECT_EQ(sheet.Get(IDC_UTIL_WIDTH_SPIN).low, 410);
    EXPECT_EQ(sheet.Get(IDC_UTIL_WIDTH_SPIN).high, 800);
    EXPECT_EQ(sheet.Get(IDC_UTIL_HEIGHT_SPIN).low, 254);
    EXPECT_EQ(sheet.Get(IDC_UTIL_HEIGHT_SPIN).high, 32760);
    EXPECT_EQ(sheet.Get(IDC_UTIL_WIDTH).textLimit, 3);
    EXPECT_EQ(sheet.Get(IDC_UTIL_HEIGHT).textLimit, 5);
    EXPECT_EQ(sheet.Text(IDC_UTIL_WIDTH_RANGE), "[ 410 - 800 (0.1mm) ]");
    EXPECT_EQ(sheet.Text(IDC_UTIL_HEIGHT_RANGE), "[ 254 - 32760 (0.1mm) ]");
    EXPECT_EQ(sheet.Text(IDC_UTIL_FORM_NAME), kUserFormName);
    EXPECT_TRUE(sheet.Get(IDC_UTIL_FORM_NAME).readOnly);
}

TEST_F(UtilityFixture, ExistingFormIsShownInTenthsOfAMillimetre) {
    // A size another program stored, not a whole number of 0.1 mm.
    spooler.forms.push_back({plat::kFormUser, std::string(kUserFormName), 41099, 100050, 0, 0, 41099, 100050});
    Open();
    EXPECT_EQ(sheet.Text(IDC_UTIL_WIDTH), "410");
    EXPECT_EQ(sheet.Text(IDC_UTIL_HEIGHT), "1000");
    EXPECT_EQ(Stored()->width, 41099) << "opening the page changes no form";
}

TEST_F(UtilityFixture, PageStaysUninitialisedWithoutTheForm) {
    struct Case {
        const char* what;
        void (*arrange)(sim::SimSpooler&);
    };
    const Case cases[] = {
        {"forms cannot be listed", [](sim::SimSpooler& s) { s.Fail(sim::SpoolerOp::EnumForms, 5); }},
        {"no right to add forms", [](sim::SimSpooler& s) { s.Fail(sim::SpoolerOp::AddForm, 5); }},
        // The spooler takes the name as the same form; the page looks for it exactly.
        {"the name in other letters",
         [](sim::SimSpooler& s) {
             s.forms.push_back({plat::kFormUser, "tamanho do papel - olven", 50000, 50000, 0, 0, 50000, 50000});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::SimSpooler fresh;
        fresh.PutPrinter(kPrinter);
        plat::PrinterHandle handle = 0;
        ASSERT_EQ(fresh.OpenPrinter(kPrinter, &handle), 0);
        c.arrange(fresh);
        sim::SimControls controls;
        controls.SetText(IDC_UTIL_WIDTH_RANGE, kTemplateWidthRange);
        const std::size_t formsBefore = fresh.forms.size();
        plugin_test::FakeControlFontFile freshFile;
        UtilityPage freshPage(fresh, handle, freshFile);
        freshPage.OnInit(controls);
        EXPECT_EQ(controls.Text(IDC_UTIL_WIDTH), "");
        EXPECT_EQ(controls.Text(IDC_UTIL_FORM_NAME), "");
        EXPECT_EQ(controls.Text(IDC_UTIL_WIDTH_RANGE), kTemplateWidthRange);
        EXPECT_EQ(controls.Get(IDC_UTIL_WIDTH).textLimit, 0);
        EXPECT_EQ(fresh.forms.size(), formsBefore) << "no form added";
    }
}

TEST_F(UtilityFixture, AjustarKeepsTheSizeWithinThePaperPath) {
    struct Case {
        const char* width;
        const char* height;
        const char* widthShown;
        const char* heightShown;
        std::int32_t storedWidth;
        std::int32_t storedHeight;
    };
    const Case cases[] = {
        {"300", "2970", "410", "2970", 41000, 297000}, {"999", "2970", "800", "2970", 80000, 297000},
        {"600", "100", "600", "254", 60000, 25400},    {"600", "40000", "600", "32760", 60000, 3276000},
        {"410", "254", "410", "254", 41000, 25400},    {"800", "32760", "800", "32760", 80000, 3276000},
        {"", "abc", "410", "254", 41000, 25400},  // not numbers: 0, then the least
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        sheet.SetText(IDC_UTIL_WIDTH, c.width);
        sheet.SetText(IDC_UTIL_HEIGHT, c.height);
        Click(IDC_UTIL_SET_FORM);
        EXPECT_EQ(sheet.Text(IDC_UTIL_WIDTH), c.widthShown);
        EXPECT_EQ(sheet.Text(IDC_UTIL_HEIGHT), c.heightShown);
        ASSERT_NE(Stored(), nullptr);
        EXPECT_EQ(*Stored(), (plat::FormInfo1{plat::kFormUser, std::string(kUserFormName), c.storedWidth,
                                              c.storedHeight, 0, 0, c.storedWidth, c.storedHeight}));
    }
}

TEST_F(UtilityFixture, AjustarReportsTheOutcome) {
    Open();
    Click(IDC_UTIL_SET_FORM);
    spooler.Fail(sim::SpoolerOp::SetForm, 5);
    Type(IDC_UTIL_WIDTH, "500");
    Click(IDC_UTIL_SET_FORM);
    ASSERT_EQ(sheet.boxes.size(), 2u);
    EXPECT_EQ(sheet.boxes[0].text, "Set Tamanho do papel ok!");
    EXPECT_EQ(sheet.boxes[0].caption, "Tamanho do papel");
    EXPECT_EQ(sheet.boxes[0].style, plat::kMbOk);
    EXPECT_EQ(sheet.boxes[1].text, "Favor checar se o usuário tem privilégios de Administrador!");
    EXPECT_EQ(sheet.boxes[1].caption, "Tamanho do papel");
    EXPECT_EQ(sheet.boxes[1].style, plat::kMbIconError);
    EXPECT_EQ(Stored()->width, 80000) << "a refused change leaves the form";
}

TEST_F(UtilityFixture, AjustarWorksOnAnUninitialisedPage) {
    spooler.Fail(sim::SpoolerOp::AddForm, 5);
    Open();
    ExpectUninitialised();
    Click(IDC_UTIL_SET_FORM);
    ASSERT_EQ(sheet.boxes.size(), 1u);
    EXPECT_EQ(sheet.boxes[0].text, "Favor checar se o usuário tem privilégios de Administrador!")
        << "there is no form to set";
}

TEST_F(UtilityFixture, SelfTestSendsExactlyItsBytes) {
    Open();
    Click(IDC_UTIL_SELF_TEST);
    const std::vector<sim::SimJob>& jobs = spooler.Jobs(kPrinter);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].docName, "SELFTEST");
    EXPECT_EQ(jobs[0].dataType, "RAW");
    EXPECT_EQ(jobs[0].bytes, (std::vector<std::uint8_t>{0x1D, 0xF9, 0x20, 0x31, 0x1D, 0x28, 0x41, 0x02, 0x00, 0x00,
                                                        0x02, 0x1D, 0xF9, 0x1F, 0x31}));
    EXPECT_TRUE(jobs[0].ended);

    EXPECT_TRUE(sheet.boxes.empty()) << "a self-test sent says nothing";

    spooler.Fail(sim::SpoolerOp::StartPagePrinter, 5);
    Click(IDC_UTIL_SELF_TEST);
    ASSERT_EQ(sheet.boxes.size(), 1u) << "a failed self-test is reported once";
    EXPECT_EQ(sheet.boxes[0].text, "Falha ao enviar o autoteste para a impressora!\nCódigo de erro = 5");
    EXPECT_EQ(sheet.boxes[0].caption, "Erro");
    EXPECT_TRUE(jobs.back().ended) << "the failed job's document is closed";
}

TEST_F(UtilityFixture, ControlFontOpensItsTable) {
    Open();
    sheet.onDialog = [](int, sim::SimControls& dialog, plat::DialogHandler& handler) {
        handler.OnCommand(dialog, plat::kIdCancel, plat::kBnClicked);
    };
    Click(IDC_UTIL_CONTROL_FONT);
    EXPECT_EQ(sheet.dialogsRun, std::vector<int>{IDD_CONTROL_FONT_DIALOG});
}

// The stored form's size in 0.1 mm, as "Ajustar" leaves it.
struct FormTenths {
    std::int32_t width;
    std::int32_t height;
};

TEST_F(UtilityFixture, ExchangesEveryControlWithItsField) {
    using S = FormTenths;
    namespace xt = exchange_test;
    const xt::Edit edits[] = {
        xt::Type(IDC_UTIL_WIDTH, "500", PLAT_FIELD(S, width), 500),
        xt::Type(IDC_UTIL_WIDTH, "300", PLAT_FIELD(S, width), 410),
        xt::Type(IDC_UTIL_WIDTH, "999", PLAT_FIELD(S, width), 800),
        xt::Type(IDC_UTIL_HEIGHT, "1000", PLAT_FIELD(S, height), 1000),
        xt::Type(IDC_UTIL_HEIGHT, "100", PLAT_FIELD(S, height), 254),
        xt::Type(IDC_UTIL_HEIGHT, "40000", PLAT_FIELD(S, height), 32760),
    };
    const xt::DialogSteps<S> steps{
        .show = [&](const S& shown) -> sim::SimControls& {
            spooler.forms.push_back(UserForm(shown.width, shown.height));
            std::erase_if(spooler.forms, [&](const plat::FormInfo1& form) {
                return form.name == kUserFormName && &form != &spooler.forms.back();
            });
            sheet = sim::SimControls();
            Open();
            return sheet;
        },
        .command = [&](sim::SimControls& controls, int id, int code) { page.OnCommand(controls, id, code); },
        .apply = [&](sim::SimControls&) { Click(IDC_UTIL_SET_FORM); },
        .held =
            [&] {
                return S{Stored()->width / 100, Stored()->height / 100};
            },
    };
    xt::ExpectRoundTrip(steps, S{800, 32760}, edits);
}

}  // namespace
