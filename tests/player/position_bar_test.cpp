#include "player_fixture.h"

using namespace velmora;
using namespace velmora::test;

class PositionBarTest : public PlayerFixture {
protected:
    // On track 2, 4:10 long, which starts 183.456 s into the disc.
    void onTrack(bool playing = true) {
        at(2, 0, 0, playing);
        state().TrackLengths = {"03:00:00", "04:10:00"};
        core.session.tmrUpdate()->start();
        mci.answer("status cd position track 2", "183456");
        mci.accept({"set cd time format milliseconds", "set cd time format tmsf"});
        mci.audioDisc(2, "02:00:00:00");
        mci.sent.clear();
    }
    PositionBar& bar() { return core.positionBar; }
    int shownWidth() const { return core.session.state().barWidthTwips; }
};

TEST_F(PositionBarTest, DragFollowsTheMouseWithinTheBarAndReleasePlaysFromItsSecond) {
    struct Case {
        double x;
        int seconds;
        int width;
        std::string play;
    } cases[] = {
        {66.8, 10, 66, "play cd from 193000"},     // 10 s into a 250 s track that starts at 183 s
        {2000, 250, 1670, "play cd from 433000"},  // beyond the bar: full
        {0, 0, 1, "play cd from 183000"},          // before it: the first twip
    };
    for (const auto& tc : cases) {
        onTrack();
        bar().picStatus_MouseDown(1, 500);
        EXPECT_FALSE(core.session.tmrUpdate()->isActive());
        EXPECT_EQ(shownWidth(), 500);
        bar().picStatus_MouseMove(1, tc.x);
        EXPECT_EQ(core.session.state().SeekSeconds, tc.seconds) << tc.x;
        EXPECT_EQ(shownWidth(), tc.width) << tc.x;
        bar().picStatus_MouseUp(1, tc.x);
        EXPECT_EQ(commandsBeforeRefresh(), (Commands{"set cd time format milliseconds", "status cd position track 2",
                                                     tc.play, "set cd time format tmsf"}));
        EXPECT_EQ(refreshes(), 1);
        EXPECT_TRUE(core.session.tmrUpdate()->isActive());
    }
}

TEST_F(PositionBarTest, OnlyTheLeftButtonOnAPlayingTrackOfKnownLengthMovesTheBar) {
    struct Case {
        const char* name;
        int button;
        bool playing;
        int track;
    } cases[] = {{"right button", 2, true, 2}, {"stopped", 1, false, 2}, {"no length read", 1, true, 7}};
    for (const auto& tc : cases) {
        onTrack(tc.playing);
        state().CurrentTrack = static_cast<std::int16_t>(tc.track);
        state().SeekSeconds = 40;  // from an earlier drag
        state().barWidthTwips = 300;
        bar().picStatus_MouseDown(tc.button, 1000);
        bar().picStatus_MouseMove(tc.button, 1200);
        EXPECT_EQ(shownWidth(), 300) << tc.name;
        EXPECT_EQ(core.session.state().SeekSeconds, 40) << tc.name;
        EXPECT_TRUE(mci.sent.empty()) << tc.name;
    }

    // Released, the right button still seeks, to the earlier drag's second; stopped, nothing is sent.
    onTrack();
    state().SeekSeconds = 40;
    bar().picStatus_MouseUp(2, 1200);
    ASSERT_GE(mci.sent.size(), 3u);
    EXPECT_EQ(mci.sent[2], "play cd from 223000");
    onTrack(false);
    bar().picStatus_MouseUp(1, 700);
    EXPECT_TRUE(mci.sent.empty());
}
