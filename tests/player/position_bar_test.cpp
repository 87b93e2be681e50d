#include "player_fixture.h"

using namespace velmora;
using namespace velmora::test;

class PositionBarTest : public PlayerFixture {
protected:
    void playingTrack(const QString& length, bool playing = true) {
        at(2, 0, 0, playing);
        state().TrackLengths = {"03:00:00", length};
        core.session.tmrUpdate()->start();
        mci.answer("status cd position track 2", "183456");
        mci.accept({"set cd time format milliseconds", "set cd time format tmsf", "play cd from 193000",
                    "play cd from 223000"});
        mci.audioDisc(2, "02:00:00:00");
    }
    PositionBar& bar() { return core.positionBar; }
    int shownWidth() const { return core.session.state().barWidthTwips; }
};

TEST_F(PositionBarTest, PressFollowsTheMouseWithinTheBar) {
    struct Case {
        double x;
        int seconds;
        int width;
    } cases[] = {
        {835, 125, 835},
        {2000, 250, 1670},  // beyond the bar: full
        {0, 0, 1},          // before it: the first twip
        {1670, 250, 1670},
        {1, 0, 1},
    };
    for (const auto& tc : cases) {
        playingTrack("04:10:00");
        bar().picStatus_MouseDown(1, tc.x);
        EXPECT_FALSE(core.session.tmrUpdate()->isActive());
        EXPECT_EQ(core.session.state().SeekSeconds, tc.seconds) << tc.x;
        EXPECT_EQ(shownWidth(), tc.width) << tc.x;
    }
}

TEST_F(PositionBarTest, ReleasePlaysFromTheChosenSecondOfTheTrack) {
    playingTrack("04:10:00");
    bar().picStatus_MouseDown(1, 200);
    bar().picStatus_MouseMove(1, 66.8);  // 10 s into a 250 s track
    ASSERT_EQ(core.session.state().SeekSeconds, 10);
    bar().picStatus_MouseUp(1, 66.8);
    EXPECT_EQ(commandsBeforeRefresh(), (Commands{"set cd time format milliseconds", "status cd position track 2",
                                                 "play cd from 193000", "set cd time format tmsf"}));
    EXPECT_EQ(refreshes(), 1);
    EXPECT_TRUE(core.session.tmrUpdate()->isActive());
}

TEST_F(PositionBarTest, RightButtonDoesNotMoveTheBarButReleaseStillSeeks) {
    playingTrack("04:10:00");
    state().SeekSeconds = 40;  // from an earlier drag
    state().barWidthTwips = 300;
    bar().picStatus_MouseDown(2, 1000);
    bar().picStatus_MouseMove(2, 1200);
    EXPECT_EQ(shownWidth(), 300);
    bar().picStatus_MouseUp(2, 1200);
    ASSERT_GE(mci.sent.size(), 3u);
    EXPECT_EQ(mci.sent[2], "play cd from 223000");
}

TEST_F(PositionBarTest, WhileStoppedNothingIsSentAndTheRefreshResumes) {
    playingTrack("04:10:00", /*playing=*/false);
    bar().picStatus_MouseDown(1, 500);
    EXPECT_FALSE(core.session.tmrUpdate()->isActive());
    bar().picStatus_MouseMove(1, 700);
    bar().picStatus_MouseUp(1, 700);
    EXPECT_TRUE(mci.sent.empty());
    EXPECT_EQ(core.session.state().SeekSeconds, 0);
    EXPECT_TRUE(core.session.tmrUpdate()->isActive());
}

TEST_F(PositionBarTest, UnknownTrackLengthNeitherFailsNorSends) {
    playingTrack("04:10:00");
    state().CurrentTrack = 7;  // no length read for it
    bar().picStatus_MouseDown(1, 500);
    bar().picStatus_MouseMove(1, 600);
    EXPECT_TRUE(mci.sent.empty());
    EXPECT_EQ(shownWidth(), 0);
}
