// The main window's controls through a scan's life, against the window's state table.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "app/window_states.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kCancel = 2;

struct ControlState {
    bool visible = true;  // every template control starts visible and enabled
    bool enabled = true;
};

class Window {
public:
    Window()
    {
        for (int id : {IDC_OK_BUTTON, kCancel, IDC_SCAN, IDC_DOWNLOAD, IDC_CLOSE_X, IDC_STATUS_FRAME, IDC_STATUS_LINE,
                       IDC_SEARCHING_FOR, IDC_FAMILY_LABEL, IDC_INSTALLED_NOTE, IDC_COPYRIGHT, IDC_DESCRIPTION,
                       IDC_PRODUCT_BANNER, IDC_REMOVAL_TOOLS_BANNER, IDC_LOGO, IDC_RESULTS_FRAME, IDC_RESULTS_LIST})
            controls[id] = ControlState{};
    }
    void Apply(WindowStep step)
    {
        ControlChanges changes = ChangesFor(step);
        for (size_t i = 0; i < changes.count; ++i) {
            const ControlChange& c = changes.changes[i];
            ASSERT_EQ(1u, controls.count(c.id)) << "unknown control " << c.id;
            if (c.enabling != Enabling::Keep) controls[c.id].enabled = c.enabling == Enabling::Enable;
            if (c.visibility != Visibility::Keep) controls[c.id].visible = c.visibility == Visibility::Show;
        }
    }
    std::set<int> VisibleAndEnabled() const { return Select(true, true); }
    std::set<int> VisibleButDisabled() const { return Select(true, false); }
    bool Enabled(int id) const { return controls.at(id).enabled; }

    std::map<int, ControlState> controls;

private:
    std::set<int> Select(bool visible, bool enabled) const
    {
        std::set<int> ids;
        for (const auto& [id, state] : controls)
            if (state.visible == visible && state.enabled == enabled) ids.insert(id);
        return ids;
    }
};

// The logo, the X button and the family label are always there.
std::set<int> WithFixed(std::set<int> ids)
{
    ids.insert({IDC_LOGO, IDC_CLOSE_X, IDC_FAMILY_LABEL});
    return ids;
}

Window ReadyWindow(bool installed)
{
    Window w;
    w.Apply(WindowStep::Ready);
    w.Apply(installed ? WindowStep::ProductInstalled : WindowStep::ProductNotInstalled);
    return w;
}

}  // namespace

TEST(MainWindowStates, ReadyShowsTheOffersAndHidesTheScanControls)
{
    Window w = ReadyWindow(false);
    EXPECT_EQ(WithFixed({IDC_SCAN, IDC_DOWNLOAD, IDC_PRODUCT_BANNER, IDC_REMOVAL_TOOLS_BANNER, IDC_DESCRIPTION,
                         IDC_COPYRIGHT}),
              w.VisibleAndEnabled());
    EXPECT_TRUE(w.VisibleButDisabled().empty());
    EXPECT_FALSE(w.Enabled(IDC_OK_BUTTON));
    EXPECT_TRUE(w.Enabled(kCancel)) << "CANCEL is only hidden: Escape must still reach OnCancel";
}

TEST(MainWindowStates, ReadyWithTheProductInstalledShowsTheNoteAndNoBanner)
{
    Window w = ReadyWindow(true);
    EXPECT_EQ(WithFixed({IDC_SCAN, IDC_REMOVAL_TOOLS_BANNER, IDC_DESCRIPTION, IDC_COPYRIGHT, IDC_INSTALLED_NOTE}),
              w.VisibleAndEnabled());
    EXPECT_EQ(std::set<int>{IDC_DOWNLOAD}, w.VisibleButDisabled());
    EXPECT_FALSE(w.Enabled(IDC_PRODUCT_BANNER));
}

TEST(MainWindowStates, ScanningShowsProgressAndKeepsDownloadAsItWas)
{
    for (bool installed : {false, true}) {
        Window w = ReadyWindow(installed);
        w.Apply(WindowStep::ScanStarted);
        std::set<int> expected =
            WithFixed({kCancel, IDC_SEARCHING_FOR, IDC_STATUS_FRAME, IDC_STATUS_LINE, IDC_RESULTS_FRAME,
                       IDC_RESULTS_LIST});
        std::set<int> disabled{IDC_SCAN};
        (installed ? disabled : expected).insert(IDC_DOWNLOAD);
        EXPECT_EQ(expected, w.VisibleAndEnabled()) << "installed " << installed;
        EXPECT_EQ(disabled, w.VisibleButDisabled()) << "installed " << installed;
        EXPECT_TRUE(w.Enabled(IDC_OK_BUTTON)) << "OK waits enabled behind CANCEL";
    }
}

TEST(MainWindowStates, TerminatingSwapsCancelForOk)
{
    Window w = ReadyWindow(false);
    w.Apply(WindowStep::ScanStarted);
    w.Apply(WindowStep::TerminateConfirmed);
    EXPECT_EQ(WithFixed({IDC_OK_BUTTON, IDC_SEARCHING_FOR, IDC_STATUS_FRAME, IDC_STATUS_LINE, IDC_RESULTS_FRAME,
                         IDC_RESULTS_LIST, IDC_DOWNLOAD}),
              w.VisibleAndEnabled());
}

TEST(MainWindowStates, FinishedKeepsTheResultsAndLeavesScanDisabled)
{
    for (bool terminated : {false, true}) {
        Window w = ReadyWindow(false);
        w.Apply(WindowStep::ScanStarted);
        if (terminated) w.Apply(WindowStep::TerminateConfirmed);
        w.Apply(WindowStep::ScanFinished);
        EXPECT_EQ(WithFixed({IDC_OK_BUTTON, IDC_STATUS_FRAME, IDC_STATUS_LINE, IDC_RESULTS_FRAME, IDC_RESULTS_LIST,
                             IDC_DOWNLOAD}),
                  w.VisibleAndEnabled())
            << "terminated " << terminated;
        EXPECT_EQ(std::set<int>{IDC_SCAN}, w.VisibleButDisabled());
    }
}
