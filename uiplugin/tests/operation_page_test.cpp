#include "core/operation_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include "resource.h"
#include "sim/sim_controls.h"
#include "tests/exchange_round_trip.h"

namespace {

using namespace plugin;

constexpr int kLogoRadios[] = {IDC_OP_ALIGN_LEFT, IDC_OP_ALIGN_CENTER, IDC_OP_ALIGN_RIGHT, IDC_OP_BEFORE_CUT,
                               IDC_OP_AFTER_CUT};
constexpr int kLists[] = {IDC_OP_DRAWER_PULSE, IDC_OP_HERALD_STATE, IDC_OP_CUT_MODE, IDC_OP_BUZZER, IDC_OP_LOGO};

// The user's side of the dialog: the test acts on its controls.
struct Dialog {
    sim::SimControls& controls;
    plat::DialogHandler& handler;

    void Click(int id) { handler.OnCommand(controls, id, plat::kBnClicked); }
    void Tick(int id, bool checked) {
        controls.SetCheck(id, checked);
        Click(id);
    }
    void Choose(int list, int index) {
        controls.Select(list, index);
        handler.OnCommand(controls, list, plat::kCbnSelChange);
    }
    void Type(int id, std::string_view text) {
        controls.Type(id, text);
        handler.OnCommand(controls, id, plat::kEnChange);
    }
    std::string Selected(int list) { return controls.SelectedText(list); }
    bool LogoRadiosEnabled() {
        const bool first = controls.IsEnabled(kLogoRadios[0]);
        for (int id : kLogoRadios) EXPECT_EQ(controls.IsEnabled(id), first) << "radio " << id;
        return first;
    }
};

// The page on a device mode, with the sheet around it.
struct PageFixture {
    PageFixture() : devmode(DefaultPrivateDevmode()) { page.OnInit(sheet); }

    // Presses the page's button `button` and lets `act` work in the dialog.
    void Open(int button, const std::function<void(Dialog&)>& act) {
        sheet.onDialog = [&](int templateId, sim::SimControls& controls, plat::DialogHandler& handler) {
            EXPECT_EQ(templateId, IDD_OPERATION_DIALOG);
            Dialog dialog{controls, handler};
            act(dialog);
        };
        const std::size_t runs = sheet.dialogsRun.size();
        page.OnCommand(sheet, button, plat::kBnClicked);
        EXPECT_EQ(sheet.dialogsRun.size(), runs + 1) << "button " << button;
    }
    // Opens the dialog, acts, then presses OK (or `endWith`).
    void Edit(int button, const std::function<void(Dialog&)>& act, int endWith = plat::kIdOk) {
        Open(button, [&](Dialog& dialog) {
            act(dialog);
            dialog.Click(endWith);
            EXPECT_TRUE(dialog.controls.closed);
        });
    }

    PrivateDevmode devmode;
    sim::SimControls sheet;
    OperationPage page{devmode};
};

bool SameBytes(const PrivateDevmode& a, const PrivateDevmode& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Moment {
    int button;
    OperationSettings PrivateDevmode::*record;
    const char* caption;
    const char* drawer;
    const char* cut;
    bool feedToCut;
};

// What a new device mode shows for each moment, which is also what "Default"
// brings back.
const Moment kMoments[] = {
    {IDC_OP_DOCUMENT_START, &PrivateDevmode::opDocumentStart, "Operação de início do documento",
     "Tempo da Gaveta#1+#2  60ms", "Sem Corte", false},
    {IDC_OP_PAGE_START, &PrivateDevmode::opPageStart, "Operação de início da página", "Sem Gaveta", "Sem Corte", false},
    {IDC_OP_PAGE_END, &PrivateDevmode::opPageEnd, "Operação de fim da página", "Sem Gaveta", "Sem Corte", false},
    {IDC_OP_DOCUMENT_END, &PrivateDevmode::opDocumentEnd, "Operação de fim do documento", "Sem Gaveta", "Corte Parcial",
     true},
};

void ExpectDefaultsShown(Dialog& dialog, const Moment& moment) {
    sim::SimControls& c = dialog.controls;
    EXPECT_EQ(dialog.Selected(IDC_OP_DRAWER_PULSE), moment.drawer);
    EXPECT_EQ(dialog.Selected(IDC_OP_CUT_MODE), moment.cut);
    EXPECT_EQ(c.IsChecked(IDC_OP_FEED_TO_CUT), moment.feedToCut);
    EXPECT_EQ(dialog.Selected(IDC_OP_HERALD_STATE), "Habilitar");
    EXPECT_EQ(dialog.Selected(IDC_OP_BUZZER), "Não toca");
    EXPECT_EQ(dialog.Selected(IDC_OP_LOGO), "Não imprimir logo");
    EXPECT_FALSE(c.IsChecked(IDC_OP_SEND_COMMAND));
    EXPECT_EQ(c.Text(IDC_OP_COMMAND), "");
    EXPECT_FALSE(c.IsEnabled(IDC_OP_COMMAND));
    EXPECT_TRUE(c.IsChecked(IDC_OP_OPEN_DRAWER));
    EXPECT_FALSE(c.IsChecked(IDC_OP_HERALD));
    EXPECT_TRUE(c.IsEnabled(IDC_OP_DRAWER_PULSE));
    EXPECT_FALSE(c.IsEnabled(IDC_OP_HERALD_STATE));
    EXPECT_EQ(c.Text(IDC_OP_FEED), "0");
    ASSERT_FALSE(c.Get(IDC_OP_FEED_SPIN).positions.empty());
    EXPECT_EQ(c.Get(IDC_OP_FEED_SPIN).positions.back(), 0);
    EXPECT_TRUE(c.IsChecked(IDC_OP_ALIGN_LEFT));
    EXPECT_FALSE(c.IsChecked(IDC_OP_ALIGN_CENTER) || c.IsChecked(IDC_OP_ALIGN_RIGHT));
    EXPECT_TRUE(c.IsChecked(IDC_OP_BEFORE_CUT));
    EXPECT_FALSE(c.IsChecked(IDC_OP_AFTER_CUT));
    EXPECT_FALSE(dialog.LogoRadiosEnabled());
}

// Changes every control away from the defaults.
void ChangeEverything(Dialog& dialog) {
    dialog.Tick(IDC_OP_SEND_COMMAND, true);
    dialog.controls.Type(IDC_OP_COMMAND, "1B 40");
    dialog.Tick(IDC_OP_FEED_TO_CUT, !dialog.controls.IsChecked(IDC_OP_FEED_TO_CUT));
    dialog.Choose(IDC_OP_DRAWER_PULSE, 3);
    dialog.Choose(IDC_OP_HERALD_STATE, 1);
    dialog.Click(IDC_OP_HERALD);
    dialog.Type(IDC_OP_FEED, "55");
    dialog.Choose(IDC_OP_CUT_MODE, 2);
    dialog.Choose(IDC_OP_BUZZER, 4);
    dialog.Choose(IDC_OP_LOGO, 7);
    dialog.controls.SetCheck(IDC_OP_ALIGN_LEFT, false);
    dialog.controls.SetCheck(IDC_OP_ALIGN_RIGHT, true);
    dialog.controls.SetCheck(IDC_OP_BEFORE_CUT, false);
    dialog.controls.SetCheck(IDC_OP_AFTER_CUT, true);
}

TEST(OperationPage, NewDeviceModeShowsEachMomentsDefaultsUnderItsCaption) {
    for (const Moment& moment : kMoments) {
        SCOPED_TRACE(moment.caption);
        PageFixture fixture;
        fixture.Open(moment.button, [&](Dialog& dialog) {
            EXPECT_EQ(dialog.controls.caption, moment.caption);
            ExpectDefaultsShown(dialog, moment);
            dialog.Click(plat::kIdCancel);
        });
    }
}

// The entries as the rendering side and the users know them, blanks included.
TEST(OperationPage, ListsHoldTheDriversEntries) {
    using Items = std::vector<std::string>;
    const struct {
        int list;
        Items items;
    } kExpected[] = {
        {IDC_OP_DRAWER_PULSE,
         {"Sem Gaveta", "Tempo da Gaveta #1  10ms", "Tempo da Gaveta #1  20ms", "Tempo da Gaveta #1  40ms",
          "Tempo da Gaveta #1  60ms", "Tempo da Gaveta #2  10ms", "Tempo da Gaveta #2  20ms",
          "Tempo da Gaveta #2  40ms", "Tempo da Gaveta #2  60ms", "Tempo da Gaveta#1+#2  10ms",
          "Tempo da Gaveta#1+#2  20ms", "Tempo da Gaveta#1+#2  40ms", "Tempo da Gaveta#1+#2  60ms"}},
        {IDC_OP_HERALD_STATE, {"Habilitar", "Desabilitar"}},
        {IDC_OP_BUZZER,
         {"Não toca", "Toca uma vez", "Toca três vezes", "Toca cinco vezes", "Toca dez vezes", "Toca vinte vezes"}},
        {IDC_OP_CUT_MODE, {"Sem Corte", "Corte Parcial", "Corte Total"}},
        {IDC_OP_LOGO,
         {"Não imprimir logo", "Imprimir Logo1", "Imprimir Logo2", "Imprimir Logo3", "Imprimir Logo4", "Imprimir Logo5",
          "Imprimir Logo6", "Imprimir Logo7", "Imprimir Logo8", "Imprimir Logo9"}},
    };
    PageFixture fixture;
    fixture.Open(IDC_OP_PAGE_END, [&](Dialog& dialog) {
        sim::SimControls& c = dialog.controls;
        for (const auto& list : kExpected) EXPECT_EQ(c.Get(list.list).items, list.items) << "list " << list.list;
        EXPECT_EQ(c.Get(IDC_OP_FEED).textLimit, 3);
        EXPECT_EQ(c.Get(IDC_OP_FEED_SPIN).low, 0);
        EXPECT_EQ(c.Get(IDC_OP_FEED_SPIN).high, 100);
        dialog.Click(plat::kIdCancel);
    });
}

// "Default" shows the moment's defaults; OK then makes the record exactly
// what a new device mode holds.
TEST(OperationPage, DefaultBringsBackTheMomentsDefaults) {
    for (const Moment& moment : kMoments) {
        SCOPED_TRACE(moment.caption);
        PageFixture fixture;
        fixture.Edit(moment.button, ChangeEverything);
        ASSERT_FALSE(SameBytes(fixture.devmode, DefaultPrivateDevmode()));
        fixture.Edit(moment.button, [&](Dialog& dialog) {
            dialog.Click(IDC_OP_DEFAULT);
            ExpectDefaultsShown(dialog, moment);
        });
        EXPECT_TRUE(SameBytes(fixture.devmode, DefaultPrivateDevmode()));
    }
}

TEST(OperationPage, OkStoresTheControlsInTheMomentsRecordOnly) {
    for (const Moment& moment : kMoments) {
        SCOPED_TRACE(moment.caption);
        PageFixture fixture;
        fixture.Edit(moment.button, ChangeEverything);
        const OperationSettings& stored = fixture.devmode.*moment.record;
        EXPECT_EQ(stored.bSendCommand, 1);
        EXPECT_EQ(stored.cbCommand, 2);
        EXPECT_EQ(stored.abCommand[0], 0x1B);
        EXPECT_EQ(stored.abCommand[1], 0x40);
        EXPECT_EQ(stored.bFeedToCutPosition, moment.feedToCut ? 0 : 1);
        EXPECT_EQ(stored.bDrawerPulse, 3);
        EXPECT_EQ(stored.bHeraldState, 1);
        EXPECT_EQ(stored.dwDrawerPortMode, 1u);
        EXPECT_EQ(stored.bFeedMm, 55);
        EXPECT_EQ(stored.bCutMode, 2);
        EXPECT_EQ(stored.bBuzzer, 4);
        EXPECT_EQ(stored.bLogo, 7);
        EXPECT_EQ(stored.bLogoAlign, 2);
        EXPECT_EQ(stored.bLogoPosition, 1);
        EXPECT_EQ(fixture.sheet.sheetChanges, std::vector<bool>{true});

        // Nothing else in the device mode moved.
        PrivateDevmode expected = DefaultPrivateDevmode();
        expected.*moment.record = stored;
        EXPECT_TRUE(SameBytes(fixture.devmode, expected));
    }
}

TEST(OperationPage, CancelLeavesTheRecordAndTheSheetAlone) {
    for (const int endWith : {plat::kIdCancel, 0}) {  // 0: closed without either button
        SCOPED_TRACE(endWith);
        PageFixture fixture;
        fixture.Open(IDC_OP_DOCUMENT_END, [&](Dialog& dialog) {
            ChangeEverything(dialog);
            dialog.Click(IDC_OP_DEFAULT);
            if (endWith != 0) dialog.Click(endWith);
        });
        EXPECT_TRUE(SameBytes(fixture.devmode, DefaultPrivateDevmode()));
        EXPECT_TRUE(fixture.sheet.sheetChanges.empty());
    }
}

TEST(OperationPage, LogoRadiosFollowTheLogoButKeepTheirValues) {
    PageFixture fixture;
    fixture.devmode.opPageStart.bLogo = 3;
    fixture.devmode.opPageStart.bLogoAlign = 1;
    fixture.devmode.opPageStart.bLogoPosition = 1;
    fixture.Edit(IDC_OP_PAGE_START, [](Dialog& dialog) {
        EXPECT_TRUE(dialog.LogoRadiosEnabled());
        EXPECT_TRUE(dialog.controls.IsChecked(IDC_OP_ALIGN_CENTER));
        EXPECT_TRUE(dialog.controls.IsChecked(IDC_OP_AFTER_CUT));
        dialog.Choose(IDC_OP_LOGO, 0);
        EXPECT_FALSE(dialog.LogoRadiosEnabled());
        dialog.Choose(IDC_OP_LOGO, 9);
        EXPECT_TRUE(dialog.LogoRadiosEnabled());
        dialog.Choose(IDC_OP_LOGO, 0);
    });
    EXPECT_EQ(fixture.devmode.opPageStart.bLogo, 0);
    EXPECT_EQ(fixture.devmode.opPageStart.bLogoAlign, 1);
    EXPECT_EQ(fixture.devmode.opPageStart.bLogoPosition, 1);
}

TEST(OperationPage, FeedAboveTheLimitIsShownAndStoredAsTheLimit) {
    const struct {
        const char* typed;
        const char* shown;
        int stored;
    } kCases[] = {
        {"250", "100", 100}, {"2500", "100", 100},  // the box takes three digits
        {"100", "100", 100}, {"101", "100", 100},  {"7", "7", 7}, {"", "", 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.typed);
        PageFixture fixture;
        fixture.Edit(IDC_OP_PAGE_END, [&](Dialog& dialog) {
            dialog.Type(IDC_OP_FEED, c.typed);
            EXPECT_EQ(dialog.controls.Text(IDC_OP_FEED), c.shown);
            EXPECT_EQ(dialog.controls.Get(IDC_OP_FEED_SPIN).positions.back(), c.stored);
        });
        EXPECT_EQ(fixture.devmode.opPageEnd.bFeedMm, c.stored);
    }
}

TEST(OperationPage, CommandIsStoredAsBytesAndShownAgainAsText) {
    PageFixture fixture;
    // A longer command before: its tail must not survive under the new one.
    OperationSettings& record = fixture.devmode.opDocumentEnd;
    std::memset(record.abCommand, 0xEE, sizeof record.abCommand);
    record.cbCommand = 10;
    fixture.Edit(IDC_OP_DOCUMENT_END, [](Dialog& dialog) {
        EXPECT_EQ(dialog.controls.Text(IDC_OP_COMMAND), "EE EE EE EE EE EE EE EE EE EE ");
        EXPECT_EQ(dialog.controls.Get(IDC_OP_COMMAND).textLimit, 399);
        dialog.controls.Type(IDC_OP_COMMAND, "1D 56 42 00");
    });
    EXPECT_EQ(record.cbCommand, 4);
    const std::uint8_t expected[4] = {0x1D, 0x56, 0x42, 0x00};
    EXPECT_EQ(std::memcmp(record.abCommand, expected, 4), 0);
    for (std::size_t i = 4; i < sizeof record.abCommand; ++i) ASSERT_EQ(record.abCommand[i], 0) << i;
    // Kept although "Enviar Comando" is off: the flag alone decides.
    EXPECT_EQ(record.bSendCommand, 0);

    fixture.Open(IDC_OP_DOCUMENT_END, [](Dialog& dialog) {
        EXPECT_EQ(dialog.controls.Text(IDC_OP_COMMAND), "1D 56 42 00 ");
        EXPECT_FALSE(dialog.controls.IsEnabled(IDC_OP_COMMAND));
        dialog.Tick(IDC_OP_SEND_COMMAND, true);
        EXPECT_TRUE(dialog.controls.IsEnabled(IDC_OP_COMMAND));
        dialog.Tick(IDC_OP_SEND_COMMAND, false);
        EXPECT_FALSE(dialog.controls.IsEnabled(IDC_OP_COMMAND));
        dialog.Click(plat::kIdCancel);
    });
}

TEST(OperationPage, OverLongCommandIsRefusedAndTheDialogStaysOpen) {
    std::string pairs128;
    for (int i = 0; i < 128; ++i) pairs128 += "A5 ";
    const struct {
        std::string text;
        bool accepted;
    } kCases[] = {
        {pairs128, true},
        {pairs128 + "01", false},
        {std::string(258, 'F'), false},  // 129 bytes without a blank
        {std::string(256, 'F'), true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text.size());
        PageFixture fixture;
        fixture.Open(IDC_OP_PAGE_START, [&](Dialog& dialog) {
            dialog.controls.Type(IDC_OP_COMMAND, c.text);
            dialog.Choose(IDC_OP_BUZZER, 2);
            dialog.Click(plat::kIdOk);
            EXPECT_EQ(dialog.controls.closed, c.accepted);
            if (c.accepted) return;
            ASSERT_EQ(dialog.controls.boxes.size(), 1u);
            EXPECT_EQ(dialog.controls.boxes[0].text, "Erro no comprimento do comando");
            EXPECT_EQ(dialog.controls.boxes[0].caption, "Erro");
            EXPECT_EQ(dialog.controls.boxes[0].style, plat::kMbOk);
            EXPECT_EQ(dialog.controls.Text(IDC_OP_COMMAND), c.text);
            dialog.Click(plat::kIdCancel);
        });
        if (c.accepted) {
            EXPECT_EQ(fixture.devmode.opPageStart.cbCommand, 128);
            EXPECT_EQ(fixture.devmode.opPageStart.bBuzzer, 2);
            EXPECT_EQ(fixture.sheet.sheetChanges, std::vector<bool>{true});
        } else {
            EXPECT_TRUE(SameBytes(fixture.devmode, DefaultPrivateDevmode()));
            EXPECT_TRUE(fixture.sheet.sheetChanges.empty());
        }
    }
}

TEST(OperationPage, DrawerAndHeraldRadiosEnableTheirLists) {
    const struct {
        std::uint32_t stored;  // dwDrawerPortMode in the record
        int click;             // radio clicked, 0 none
        bool drawer;           // "Abrir Gaveta" checked afterwards
        std::uint32_t saved;
    } kCases[] = {
        {0, 0, true, 0},
        {1, 0, false, 1},
        {7, 0, false, 1},  // any value but 0 is the herald
        {0, IDC_OP_HERALD, false, 1},
        {1, IDC_OP_OPEN_DRAWER, true, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.stored << " click " << c.click);
        PageFixture fixture;
        fixture.devmode.opPageEnd.dwDrawerPortMode = c.stored;
        fixture.Edit(IDC_OP_PAGE_END, [&](Dialog& dialog) {
            if (c.click != 0) dialog.Click(c.click);
            EXPECT_EQ(dialog.controls.IsChecked(IDC_OP_OPEN_DRAWER), c.drawer);
            EXPECT_EQ(dialog.controls.IsChecked(IDC_OP_HERALD), !c.drawer);
            EXPECT_EQ(dialog.controls.IsEnabled(IDC_OP_DRAWER_PULSE), c.drawer);
            EXPECT_EQ(dialog.controls.IsEnabled(IDC_OP_HERALD_STATE), !c.drawer);
        });
        EXPECT_EQ(fixture.devmode.opPageEnd.dwDrawerPortMode, c.saved);
    }
}

// A record from outside may hold list indexes past the lists' ends: nothing
// is selected, and OK keeps those values rather than storing 255.
TEST(OperationPage, ValuesPastTheListsAreKeptOnOk) {
    PageFixture fixture;
    OperationSettings& record = fixture.devmode.opPageStart;
    record.bDrawerPulse = 13;
    record.bHeraldState = 2;
    record.bCutMode = 3;
    record.bBuzzer = 6;
    record.bLogo = 10;
    record.bFeedMm = 200;
    fixture.Edit(IDC_OP_PAGE_START, [](Dialog& dialog) {
        for (int list : kLists) EXPECT_EQ(dialog.controls.Selection(list), -1) << "list " << list;
        EXPECT_EQ(dialog.controls.Text(IDC_OP_FEED), "100");
    });
    EXPECT_EQ(record.bDrawerPulse, 13);
    EXPECT_EQ(record.bHeraldState, 2);
    EXPECT_EQ(record.bCutMode, 3);
    EXPECT_EQ(record.bBuzzer, 6);
    EXPECT_EQ(record.bLogo, 10);
    EXPECT_EQ(record.bFeedMm, 100);
}

TEST(OperationPage, ApplyAnswersTrueAndClearsTheSheetsChange) {
    PageFixture fixture;
    fixture.Edit(IDC_OP_PAGE_START, [](Dialog& dialog) { dialog.Choose(IDC_OP_BUZZER, 1); });
    EXPECT_TRUE(fixture.page.OnSetActive(fixture.sheet));
    EXPECT_TRUE(fixture.page.OnKillActive(fixture.sheet));
    EXPECT_TRUE(fixture.page.OnApply(fixture.sheet));
    EXPECT_EQ(fixture.sheet.sheetChanges, (std::vector<bool>{true, false}));
    // Other commands of the page open nothing.
    fixture.page.OnCommand(fixture.sheet, IDC_OP_DOCUMENT_START, plat::kCbnSelChange);
    fixture.page.OnCommand(fixture.sheet, 1010, plat::kBnClicked);
    EXPECT_EQ(fixture.sheet.dialogsRun.size(), 1u);
}

TEST(OperationDialog, ExchangesEveryControlWithItsField) {
    using S = OperationSettings;
    using namespace exchange_test;
    // Every field away from its default, the numbers at their limits.
    const S sample{.bSendCommand = 1,
                   .bFeedToCutPosition = 1,
                   .abCommand = {0x1B, 0x40},
                   .cbCommand = 2,
                   .bDrawerPulse = 12,
                   .bCutMode = 2,
                   .bFeedMm = 100,
                   .bHeraldState = 1,
                   .padding1 = 0,
                   .dwDrawerPortMode = 1,
                   .bBuzzer = 5,
                   .bLogo = 9,
                   .bLogoAlign = 2,
                   .bLogoPosition = 1};
    const Edit edits[] = {
        Type(IDC_OP_COMMAND, "1D 56 42", PLAT_FIELD(S, cbCommand), 3),
        Tick(IDC_OP_SEND_COMMAND, false, PLAT_FIELD(S, bSendCommand), 0),
        Tick(IDC_OP_FEED_TO_CUT, false, PLAT_FIELD(S, bFeedToCutPosition), 0),
        Pick(IDC_OP_DRAWER_PULSE, 3, PLAT_FIELD(S, bDrawerPulse), 3),
        Pick(IDC_OP_HERALD_STATE, 0, PLAT_FIELD(S, bHeraldState), 0),
        Pick(IDC_OP_CUT_MODE, 1, PLAT_FIELD(S, bCutMode), 1),
        Pick(IDC_OP_BUZZER, 2, PLAT_FIELD(S, bBuzzer), 2),
        Pick(IDC_OP_LOGO, 4, PLAT_FIELD(S, bLogo), 4),
        Type(IDC_OP_FEED, "55", PLAT_FIELD(S, bFeedMm), 55),
        Type(IDC_OP_FEED, "250", PLAT_FIELD(S, bFeedMm), 100),
        Type(IDC_OP_FEED, "-5", PLAT_FIELD(S, bFeedMm), 0),
        Choose(IDC_OP_OPEN_DRAWER, PLAT_FIELD(S, dwDrawerPortMode), 0),
        Choose(IDC_OP_HERALD, PLAT_FIELD(S, dwDrawerPortMode), 1),
        Choose(IDC_OP_ALIGN_LEFT, PLAT_FIELD(S, bLogoAlign), 0),
        Choose(IDC_OP_ALIGN_CENTER, PLAT_FIELD(S, bLogoAlign), 1),
        Choose(IDC_OP_BEFORE_CUT, PLAT_FIELD(S, bLogoPosition), 0),
    };
    S settings{};
    sim::SimControls controls;
    std::optional<OperationDialog> dialog;
    const DialogSteps<S> steps{
        .show = [&](const S& shown) -> sim::SimControls& {
            settings = shown;
            controls = sim::SimControls();
            dialog.emplace(settings, kOperationPageEnd);
            dialog->OnInit(controls);
            return controls;
        },
        .command = [&](sim::SimControls& controls, int id, int code) { dialog->OnCommand(controls, id, code); },
        .apply =
            [&](sim::SimControls& controls) {
                dialog->OnCommand(controls, plat::kIdOk, plat::kBnClicked);
                EXPECT_TRUE(controls.closed);
            },
        .held = [&] { return settings; },
    };
    ExpectRoundTrip(steps, sample, edits);
}

}  // namespace
