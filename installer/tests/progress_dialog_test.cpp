// The progress window's timing, on the virtual clock.
#include <gtest/gtest.h>

#include <numeric>

#include "core/os_code.h"
#include "core/progress_dialog.h"
#include "resource.h"
#include "sim/sim_machine.h"

namespace {

using setup::InstallProgress;
using setup::ProgressDialog;

struct ProgressRun {
    std::vector<unsigned> waits;
    std::vector<int> positions;
    std::uint64_t elapsed;
    bool closed;
};

// Opens the window and lets the worker report `state` once the clock reaches
// `reportAt` (never when 0).
ProgressRun RunProgress(setup::OsCode osCode, int state, std::uint64_t reportAt) {
    sim::SimClock clock;
    InstallProgress progress;
    if (reportAt) clock.At(reportAt, [&] { progress.Finish(static_cast<InstallProgress::State>(state), "x"); });
    ProgressDialog dialog(clock, progress, osCode);
    sim::SimControls controls;
    dialog.OnInit(controls);
    EXPECT_EQ(controls.timers, (std::map<int, unsigned>{{ProgressDialog::kTimerId, 100}}));
    EXPECT_EQ(controls.Get(IDC_PROGRESS_BAR).high, 100);
    dialog.OnTimer(controls, ProgressDialog::kTimerId);
    EXPECT_TRUE(controls.timers.empty()) << "one tick runs the whole loop";
    return {clock.waits, controls.Get(IDC_PROGRESS_BAR).positions, clock.now, controls.closed};
}

TEST(ProgressDialog, SuccessRunsTheBarUpTo100) {
    // Reported during the 6th creep wait: bar at 5 when the loop sees it.
    const ProgressRun run = RunProgress(setup::OsCode::kWinXp, InstallProgress::kDone, 450);
    ASSERT_TRUE(run.closed);
    const std::vector<unsigned> creep(6, 80);
    ASSERT_GE(run.waits.size(), 6u);
    EXPECT_EQ(std::vector<unsigned>(run.waits.begin(), run.waits.begin() + 6), creep);
    EXPECT_EQ(run.waits.size(), 6u + 95u + 1u) << "95 steps from 5 to 99, then the linger";
    EXPECT_EQ(run.waits.back(), 100u);
    EXPECT_EQ(run.elapsed, 6u * 80 + 95u * 10 + 100);
    EXPECT_EQ(run.positions.back(), 100);
    EXPECT_TRUE(std::is_sorted(run.positions.begin(), run.positions.end()));
}

TEST(ProgressDialog, FailureRunsTheBarDownToZero) {
    const ProgressRun run = RunProgress(setup::OsCode::kWin7, InstallProgress::kFailed, 850);  // bar at 10
    ASSERT_TRUE(run.closed);
    EXPECT_EQ(run.elapsed, 11u * 80 + 10u * 10 + 100);
    EXPECT_EQ(run.positions.back(), 0);
    const std::vector<int> down(run.positions.end() - 11, run.positions.end());
    EXPECT_EQ(down, (std::vector<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

TEST(ProgressDialog, CreepsToNinetyAndWaitsThere) {
    // A long installation on Windows 7: the bar holds at 90 until the report.
    const ProgressRun run = RunProgress(setup::OsCode::kWin7, InstallProgress::kDone, 20000);
    EXPECT_EQ(*std::max_element(run.positions.begin(), run.positions.end() - 11), 90);
    EXPECT_EQ(run.positions.back(), 100);
    EXPECT_EQ(run.elapsed, 250u * 80 + 10u * 10 + 100) << "creep until 20 s, then 90..99 and the linger";
}

TEST(ProgressDialog, Windows98ClosesAfterAboutSevenSecondsWithoutTheWorker) {
    const ProgressRun run = RunProgress(setup::OsCode::kWin98Me, 0, 0);
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.elapsed, 90u * 80);
    EXPECT_EQ(run.positions.back(), 89);
    EXPECT_TRUE(std::all_of(run.waits.begin(), run.waits.end(), [](unsigned w) { return w == 80; }));
}

TEST(ProgressDialog, Windows98StillShowsAnEarlyResult) {
    const ProgressRun run = RunProgress(setup::OsCode::kWin98Me, InstallProgress::kDone, 100);
    EXPECT_EQ(run.elapsed, 2u * 80 + 99u * 10 + 100) << "seen while the bar shows 1";
    EXPECT_EQ(run.positions.back(), 100);
}

}  // namespace
