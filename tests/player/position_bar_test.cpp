#include "player_fixture.h"

using namespace velmora;
using namespace velmora::test;

namespace {
using Commands = std::vector<std::string>;
}

class PositionBarTest : public PlayerFixture {
protected:
    void playingTrack(const QString& length, bool playing = true) {
        state.CurrentTrack = 2;
        state.TrackLengths = {"03:00:00", length};
        state.Playing = playing;
        c.tmrUpdate->start();
        mci.answer("status cd position track 2", "183456");
    }
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
        bar_->picStatus_MouseDown(1, tc.x);
        EXPECT_FALSE(c.tmrUpdate->isActive());
        EXPECT_EQ(state.SeekSeconds, tc.seconds) << tc.x;
        EXPECT_EQ(c.StatusBar->widthTwips(), tc.width) << tc.x;
    }
}

TEST_F(PositionBarTest, ReleasePlaysFromTheChosenSecondOfTheTrack) {
    playingTrack("04:10:00");
    bar_->picStatus_MouseDown(1, 200);
    bar_->picStatus_MouseMove(1, 66.8);  // 10 s into a 250 s track
    ASSERT_EQ(state.SeekSeconds, 10);
    mci.takeSent();
    bar_->picStatus_MouseUp(1, 66.8);
    const Commands sent = mci.takeSent();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(Commands(sent.begin(), sent.begin() + 4),
              (Commands{"set cd time format milliseconds", "status cd position track 2", "play cd from 193000",
                        "set cd time format tmsf"}));
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(c.tmrUpdate->isActive());
}

TEST_F(PositionBarTest, RightButtonDoesNotMoveTheBarButReleaseStillSeeks) {
    playingTrack("04:10:00");
    state.SeekSeconds = 40;  // from an earlier drag
    c.StatusBar->setWidthTwips(300);
    bar_->picStatus_MouseDown(2, 1000);
    bar_->picStatus_MouseMove(2, 1200);
    EXPECT_EQ(c.StatusBar->widthTwips(), 300);
    mci.takeSent();
    bar_->picStatus_MouseUp(2, 1200);
    const Commands sent = mci.takeSent();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[2], "play cd from 223000");
}

TEST_F(PositionBarTest, WhileStoppedNothingIsSentAndTheRefreshResumes) {
    playingTrack("04:10:00", /*playing=*/false);
    bar_->picStatus_MouseDown(1, 500);
    EXPECT_FALSE(c.tmrUpdate->isActive());
    bar_->picStatus_MouseMove(1, 700);
    bar_->picStatus_MouseUp(1, 700);
    EXPECT_TRUE(mci.sent.empty());
    EXPECT_EQ(state.SeekSeconds, 0);
    EXPECT_TRUE(c.tmrUpdate->isActive());
}

TEST_F(PositionBarTest, UnknownTrackLengthNeitherFailsNorSends) {
    state.Playing = true;
    state.CurrentTrack = 7;  // no lengths read yet
    c.tmrUpdate->start();
    bar_->picStatus_MouseDown(1, 500);
    bar_->picStatus_MouseMove(1, 600);
    EXPECT_TRUE(mci.sent.empty());
    EXPECT_EQ(c.StatusBar->widthTwips(), 0);
    bar_->picStatus_MouseUp(1, 600);
    EXPECT_TRUE(c.tmrUpdate->isActive());
}
