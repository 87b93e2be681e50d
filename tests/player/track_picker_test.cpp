#include "player/track_picker.h"
#include "player_fixture.h"

using namespace velmora;
using namespace velmora::test;

class TrackPickerTest : public PlayerFixture {
protected:
    TrackPickerTest() : picker(state, channel, c.TrackList, [this] { ++refreshes; }) { window.show(); }
    TrackPicker picker;
};

TEST_F(TrackPickerTest, ListsOneLinePerTrackAndTogglesAndRebuilds) {
    state.NumTracks = 12;
    for (int n = 1; n <= 12; ++n) state.CurrentDisc.track(n) = QStringLiteral("Title %1").arg(n) + QChar(u'\0');
    state.CurrentDisc.track(4) = QString(QChar(u'\0'));
    picker.picTrack_Click();
    ASSERT_TRUE(c.TrackList->isVisible());
    ASSERT_EQ(c.TrackList->count(), 12);
    EXPECT_EQ(c.TrackList->item(0)->text(), "Track 1 - Title 1");
    EXPECT_EQ(c.TrackList->item(3)->text(), "Track 4 - ");  // empty title keeps the dash and blank
    EXPECT_EQ(c.TrackList->item(11)->text(), "Track 12 - Title 12");

    picker.picTrack_Click();
    EXPECT_FALSE(c.TrackList->isVisible());
    state.NumTracks = 3;
    picker.picTrack_Click();
    EXPECT_EQ(c.TrackList->count(), 3);
}

TEST_F(TrackPickerTest, DoubleClickPlaysOrSeeksThePickedTrack) {
    struct Case {
        bool playing;
        std::string command;
    } cases[] = {{true, "play cd from 5"}, {false, "seek cd to 5"}};
    for (const auto& tc : cases) {
        state.NumTracks = 12;
        state.Playing = tc.playing;
        picker.picTrack_Click();
        c.TrackList->item(4)->setSelected(true);
        refreshes = 0;
        picker.TrackList_DblClick();
        EXPECT_FALSE(c.TrackList->isVisible());
        EXPECT_EQ(mci.takeSent(), std::vector<std::string>{tc.command});
        EXPECT_EQ(refreshes, 1);
    }
}

TEST_F(TrackPickerTest, LineBeyondTheDiscOnlyRefreshes) {
    state.NumTracks = 12;
    picker.picTrack_Click();
    state.NumTracks = 3;  // a shorter disc went in while the list was open
    c.TrackList->item(7)->setSelected(true);
    picker.TrackList_DblClick();
    EXPECT_TRUE(mci.sent.empty());
    EXPECT_EQ(refreshes, 1);
}
