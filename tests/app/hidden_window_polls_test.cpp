// A main window put away (closed or minimised; to the tray, or to the taskbar on a desktop
// without one) keeps the drive open and the menu working, but neither refreshes from the
// drive nor polls the mixer; shown again, both pick up at the next tick.
#include "app_fixture.h"

#include "chrome/popup_menu.h"
#include "mixer/mixer_volume.h"

using namespace velmora;
using namespace velmora::test;

namespace {

// Counts reads; the poll reads the master line only.
struct CountingMixer final : CMixerVolume {
    int* reads;
    explicit CountingMixer(int* counter) : reads(counter) {}
    std::int32_t CDVolume() override { return -1; }
    void setCDVolume(const std::int32_t&) override {}
    bool CDMute() override { return true; }
    void setCDMute(const bool&) override {}
    std::int32_t MainVolume() override {
        ++*reads;
        return 30000;
    }
    void setMainVolume(const std::int32_t&) override {}
    bool MainMute() override {
        ++*reads;
        return false;
    }
    void setMainMute(const bool&) override {}
};

struct Case {
    const char* name;
    bool trayAvailable;
    bool byClose;  // else the minimise button
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class HiddenWindowPolls : public AppFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(HiddenWindowPolls, NeitherRefreshNorVolumePollRunsUntilShownAgain) {
    trayAvailable = GetParam().trayAvailable;
    int mixerReads = 0;
    mixer = [&mixerReads] { return std::make_unique<CountingMixer>(&mixerReads); };
    start();
    ASSERT_TRUE(loaded);
    auto tickBoth = [&] {
        recording.sent.clear();
        const int reads = mixerReads;
        app->core().refresh.tmrUpdate_Timer();
        window->volume().tmrVolume_Timer();
        QCoreApplication::processEvents();
        return std::make_pair(!recording.sent.empty(), mixerReads > reads);
    };
    EXPECT_EQ(tickBoth(), std::make_pair(true, true)) << "shown: both run";

    if (GetParam().byClose) window->close();
    else click("cmdMinimize");
    EXPECT_EQ(window->isMinimized(), !trayAvailable);
    EXPECT_EQ(window->isVisible(), !trayAvailable);
    ASSERT_FALSE(window->isShownToUser());
    EXPECT_FALSE(recording.wasSent("close all"));
    EXPECT_EQ(programEnded, 0);
    for (int tick = 0; tick < 3; ++tick) EXPECT_EQ(tickBoth(), std::make_pair(false, false)) << "tick " << tick;

    // Still running: the menu plays, and the window stays put away.
    window->popupMenu().mnuPlay->trigger();
    EXPECT_TRUE(recording.wasSent("play cd"));
    EXPECT_FALSE(window->isShownToUser());

    window->popupMenu().mnuAR->trigger();
    ASSERT_TRUE(window->isShownToUser());
    EXPECT_EQ(tickBoth(), std::make_pair(true, true)) << "restored";
    EXPECT_TRUE(recording.wasSent("status cd position"));
}

INSTANTIATE_TEST_SUITE_P(Ways, HiddenWindowPolls,
                         ::testing::Values(Case{"MinimisedToTheTray", true, false},
                                           Case{"ClosedToTheTray", true, true},
                                           Case{"MinimisedToTheTaskbar", false, false},
                                           Case{"ClosedToTheTaskbar", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
