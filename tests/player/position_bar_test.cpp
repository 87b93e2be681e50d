#include "player_fixture.h"

using namespace velmora;
using namespace velmora::test;

class PositionBarTest : public PlayerFixture {
protected:
    // On `track` of two, track 2 4:10 long, which starts 183.456 s into the disc.
    void onTrack(bool playing = true, int track = 2) {
        at(track, 0, 0, playing, 2);
        core.session.tmrUpdate()->start();
        mci.answer("status cd position track 2", "183456");
        mci.accept({"set cd time format milliseconds", "set cd time format tmsf"});
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
    const std::string ms = "set cd time format milliseconds", tmsf = "set cd time format tmsf";
    struct Case {
        const char* name;
        int button;
        bool playing;
        int track;
        Commands released;  // before the refresh: the earlier drag's second is played
    } cases[] = {
        {"right button", 2, true, 2, {ms, "status cd position track 2", "play cd from 223000", tmsf}},
        {"stopped", 1, false, 2, {}},
        {"no length read", 1, true, 7, {ms, "status cd position track 7", "play cd from 40000", tmsf}},
    };
    for (const auto& tc : cases) {
        onTrack();
        bar().picStatus_MouseDown(1, 268);  // an earlier drag to 40 s
        onTrack(tc.playing, tc.track);
        const int width = shownWidth();
        bar().picStatus_MouseDown(tc.button, 1000);
        bar().picStatus_MouseMove(tc.button, 1200);
        EXPECT_EQ(shownWidth(), width) << tc.name;
        EXPECT_TRUE(mci.sent.empty()) << tc.name;
        bar().picStatus_MouseUp(tc.button, 1200);
        EXPECT_EQ(commandsBeforeRefresh(), tc.released) << tc.name;
    }
}
