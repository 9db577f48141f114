// What the main window's states must guarantee, checked in every state its steps can reach: before the scan
// (product installed or not), scanning, terminating, and finished (terminated or not).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/common/control_states.h"

namespace {

constexpr int kCancel = 2;

enum class Phase { Ready, Scanning, Terminating, Finished };

struct State {
    bool installed;
    Phase phase;
    ControlStates controls;

    bool Shown(int id) const { return controls.Shown(id); }
    bool Enabled(int id) const { return controls.Enabled(id); }
    State After(WindowStep step, Phase next) const
    {
        State s = *this;
        s.phase = next;
        s.controls.Apply(step);
        return s;
    }
    std::string Name() const
    {
        const char* phases[] = {"ready", "scanning", "terminating", "finished"};
        return std::string(phases[static_cast<int>(phase)]) + (installed ? ", product installed" : "");
    }
};

std::vector<State> EveryState()
{
    std::vector<State> states;
    for (bool installed : {false, true}) {
        State start{installed, Phase::Ready, {}};
        State ready =
            start.After(WindowStep::Ready, Phase::Ready)
                .After(installed ? WindowStep::ProductInstalled : WindowStep::ProductNotInstalled, Phase::Ready);
        State scanning = ready.After(WindowStep::ScanStarted, Phase::Scanning);
        State terminating = scanning.After(WindowStep::TerminateConfirmed, Phase::Terminating);
        states.insert(states.end(),
                      {ready, scanning, terminating, scanning.After(WindowStep::ScanFinished, Phase::Finished),
                       terminating.After(WindowStep::ScanFinished, Phase::Finished)});
    }
    return states;
}

}  // namespace

TEST(MainWindowStates, TheScanControlsShowFromTheScanOnAndTheOffersOnlyBeforeIt)
{
    for (const State& s : EveryState()) {
        SCOPED_TRACE(s.Name());
        const bool before = s.phase == Phase::Ready;
        for (int id : {IDC_STATUS_FRAME, IDC_STATUS_LINE, IDC_RESULTS_FRAME, IDC_RESULTS_LIST})
            EXPECT_EQ(!before, s.Shown(id)) << id;
        EXPECT_EQ(s.phase == Phase::Scanning || s.phase == Phase::Terminating, s.Shown(IDC_SEARCHING_FOR));
        for (int id : {IDC_DESCRIPTION, IDC_COPYRIGHT, IDC_REMOVAL_TOOLS_BANNER}) EXPECT_EQ(before, s.Shown(id)) << id;
        EXPECT_EQ(before && !s.installed, s.Shown(IDC_PRODUCT_BANNER));
        EXPECT_EQ(before && s.installed, s.Shown(IDC_INSTALLED_NOTE));
    }
}

TEST(MainWindowStates, OkAndCancelShareOnePlaceOneAtATime)
{
    for (const State& s : EveryState()) {
        SCOPED_TRACE(s.Name());
        EXPECT_EQ(s.phase == Phase::Scanning, s.Shown(kCancel));
        EXPECT_EQ(s.phase == Phase::Terminating || s.phase == Phase::Finished, s.Shown(IDC_OK_BUTTON));
        EXPECT_TRUE(s.Enabled(kCancel)) << "Escape reaches OnCancel only through an enabled CANCEL";
        EXPECT_TRUE(!s.Shown(IDC_OK_BUTTON) || s.Enabled(IDC_OK_BUTTON)) << "OK shown disabled";
    }
}

TEST(MainWindowStates, OneScanPerRunAndTheProductPageOnlyWithoutTheProduct)
{
    for (const State& s : EveryState()) {
        SCOPED_TRACE(s.Name());
        EXPECT_TRUE(s.Shown(IDC_SCAN));
        EXPECT_EQ(s.phase == Phase::Ready, s.Enabled(IDC_SCAN));
        EXPECT_TRUE(s.Shown(IDC_DOWNLOAD)) << "a scan leaves DOWNLOAD as it was";
        EXPECT_EQ(!s.installed, s.Enabled(IDC_DOWNLOAD));
        for (int banner : {IDC_PRODUCT_BANNER, IDC_REMOVAL_TOOLS_BANNER})
            EXPECT_TRUE(!s.Shown(banner) || s.Enabled(banner)) << "a banner shown disabled: " << banner;
    }
}

TEST(MainWindowStates, TheLogoTheXButtonAndTheFamilyLineAreAlwaysThere)
{
    for (const State& s : EveryState()) {
        for (int id : {IDC_LOGO, IDC_CLOSE_X, IDC_FAMILY_LABEL}) {
            EXPECT_TRUE(s.Shown(id) && s.Enabled(id)) << s.Name() << ": control " << id;
        }
    }
}
