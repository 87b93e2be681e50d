// The play modes on the real command interpreter and a simulated drive whose clock the
// test moves: what plays after what, and the commands that make it so.
#include "discdb/disc_database.h"
#include "platform/clock.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/message_box.h"
#include "platform/sim/simulated_drive.h"
#include "player/mci_channel.h"
#include "player/player_core.h"

#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace velmora;

namespace {

using Commands = std::vector<std::string>;

// The interpreter, remembering the commands that move the head.
class Recorder final : public MciService {
public:
    explicit Recorder(MciService& inner) : inner_(inner) {}
    int sendString(const std::string& command, char* buffer, int length) override {
        if (command.rfind("play", 0) == 0 || command.rfind("seek", 0) == 0) moves.push_back(command);
        return inner_.sendString(command, buffer, length);
    }
    bool errorString(int code, char* buffer, int length) const override {
        return inner_.errorString(code, buffer, length);
    }
    Commands moves;

private:
    MciService& inner_;
};

// Tracks of the given lengths from the usual 2 seconds; track `data` (if any) holds data.
DiscToc disc(const std::vector<int>& seconds, int data = 0) {
    DiscToc toc;
    int frame = 150;
    for (int n = 1; n <= static_cast<int>(seconds.size()); ++n) {
        toc.tracks.push_back({n, frame, n != data});
        frame += seconds[static_cast<std::size_t>(n - 1)] * 75;
    }
    toc.leadoutFrame = frame;
    return toc;
}

class PlayModesTest : public ::testing::Test {
protected:
    PlayModesTest() {
        clock->setMs(1'000'000);
        recorder.sendString("open cdaudio alias cd wait shareable", nullptr, 0);
        recorder.sendString("set cd time format tmsf wait", nullptr, 0);
    }
    void insert(const DiscToc& toc) {
        drive->insert(toc);
        core.refresh.UpdateDisplay();
    }
    // Moves the clock a second at a time, refreshing as the window does.
    void run(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            clock->advanceMs(1000);
            core.refresh.UpdateDisplay();
        }
    }
    void modes(Repeat repeat, bool shuffle, bool intro) { core.transport.SetPlayModes({repeat, shuffle, intro}); }
    const PlayerState& state() const { return core.session.state(); }
    // The tracks the moves started, in order ("play cd from 4 to 5" is 4).
    std::vector<int> started() const {
        std::vector<int> tracks;
        for (const auto& m : recorder.moves)
            if (m.rfind("play cd from ", 0) == 0) tracks.push_back(std::stoi(m.substr(13)));
        return tracks;
    }

    QTemporaryDir dir;
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<SimulatedDrive> drive = std::make_shared<SimulatedDrive>(clock);
    MciInterpreter interpreter{[this]() -> std::shared_ptr<CdDrive> { return drive; }};
    Recorder recorder{interpreter};
    RecordingMessageBoxes boxes;
    MciChannel channel{recorder, boxes};
    DiscDatabase database{dir.filePath(QStringLiteral("Velmora.ini"))};
    // A fixed run of draws, so an order is shuffled and the same on every run.
    std::vector<double> draws{0.7, 0.1, 0.9, 0.4, 0.55, 0.2, 0.8, 0.3};
    std::size_t drawn = 0;
    PlayerCore core{channel, database, [this] { return draws[drawn++ % draws.size()]; }};
};

}  // namespace

TEST_F(PlayModesTest, WithEveryModeOffTheDiscPlaysThroughOnceAndStopsAtTheStartOfTrackOne) {
    insert(disc({10, 10, 10}));
    core.transport.Play();
    run(31);
    EXPECT_EQ(recorder.moves, (Commands{"play cd", "seek cd to 1"}));
    EXPECT_FALSE(state().Playing);
    EXPECT_EQ(std::tuple(state().CurrentTrack, state().CurrentMinute, state().CurrentSecond), std::tuple(1, 0, 0));
    EXPECT_EQ(core.session.tmrUpdate()->interval(), 3000);
    // Play plays the disc again.
    core.transport.Play();
    run(2);
    EXPECT_TRUE(state().Playing);
    EXPECT_EQ(std::tuple(state().CurrentTrack, state().CurrentSecond), std::tuple(1, 2));
}

TEST_F(PlayModesTest, RepeatAndIntroScanChooseWhatFollowsEachEndAndTheDriveStopsThere) {
    struct Case {
        const char* name;
        PlayModes modes;
        std::vector<int> seconds;
        int from;  // the track Play starts at
        int run;
        Commands expected;
        int trackAfter;  // where the head is at the end; 0: the disc is done
    } cases[] = {
        {"repeat track",
         {Repeat::Track, false, false},
         {10, 10, 10},
         1,
         25,
         {"play cd to 2", "play cd from 1 to 2", "play cd from 1 to 2"},
         1},
        {"repeat disc", {Repeat::Disc, false, false}, {10, 10, 10}, 1, 35, {"play cd", "play cd from 1"}, 1},
        // The last track ends at the length the drive reports for it (a frame short).
        {"repeat track, the last one",
         {Repeat::Track, false, false},
         {5, 10},
         2,
         25,
         {"seek cd to 2", "play cd to 2:0:9:74", "play cd from 2 to 2:0:9:74", "play cd from 2 to 2:0:9:74"},
         2},
        // Ten seconds of each track; a shorter track plays whole; then the disc is done.
        {"intro scan",
         {Repeat::Off, false, true},
         {12, 8, 15},
         1,
         40,
         {"play cd to 1:0:10:0", "play cd from 2 to 3", "play cd from 3 to 3:0:10:0", "seek cd to 1"},
         0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        insert({});
        insert(disc(tc.seconds));
        modes(tc.modes.repeat, tc.modes.shuffle, tc.modes.introScan);
        recorder.moves.clear();
        if (tc.from > 1) core.transport.GoToTrack(tc.from);
        core.transport.Play();
        run(tc.run);
        EXPECT_EQ(recorder.moves, tc.expected);
        EXPECT_EQ(state().Playing, tc.trackAfter != 0);
        EXPECT_EQ(state().CurrentTrack, tc.trackAfter == 0 ? 1 : tc.trackAfter);
        modes(Repeat::Off, false, false);
    }
}

TEST_F(PlayModesTest, ShufflePlaysEachAudioTrackOnceNeverTheDataTrackThenStopsOrStartsANewOrder) {
    insert(disc({10, 10, 10, 10, 10, 10}, 3));
    modes(Repeat::Off, true, false);
    core.transport.Play();
    run(60);
    const std::vector<int> once = started();
    EXPECT_EQ(std::multiset<int>(once.begin(), once.end()), (std::multiset<int>{1, 2, 4, 5, 6}));
    EXPECT_NE(once, (std::vector<int>{1, 2, 4, 5, 6}));  // not disc order
    EXPECT_EQ(recorder.moves.back(), "seek cd to 1");
    EXPECT_FALSE(state().Playing);

    // Repeating the disc, each round is a new order of all of them.
    modes(Repeat::Disc, true, false);
    recorder.moves.clear();
    core.transport.Play();
    run(110);
    const std::vector<int> twice = started();
    ASSERT_GE(twice.size(), 10u);
    for (auto round : {twice.begin(), twice.begin() + 5})
        EXPECT_EQ(std::multiset<int>(round, round + 5), (std::multiset<int>{1, 2, 4, 5, 6}));
    EXPECT_TRUE(state().Playing);
}

TEST_F(PlayModesTest, InShuffleNextPreviousAndThePickerWalkTheOrderAndEveryTrackStillPlaysOnce) {
    insert(disc({20, 20, 20, 20, 20}));
    modes(Repeat::Off, true, false);
    core.transport.Play();
    const std::vector<int> order = core.sequencer.order().tracks();
    run(2);
    core.transport.NextTrack();
    core.transport.NextTrack();
    EXPECT_EQ(state().CurrentTrack, order[2]);
    core.transport.PreviousTrack();  // within the first seconds: the one before in the order
    EXPECT_EQ(started(), (std::vector<int>{order[0], order[1], order[2], order[1]}));
    run(7);
    core.transport.PreviousTrack();  // later on: the same track from its start
    EXPECT_EQ(started().back(), order[1]);

    // The picker plays the track picked, then the order goes on with the ones not yet played.
    core.picker.pick(order[4]);
    EXPECT_EQ(state().CurrentTrack, order[4]);
    recorder.moves.clear();
    run(70);
    EXPECT_EQ(started(), (std::vector<int>{order[2], order[3]}));
    EXPECT_EQ(recorder.moves.back(), "seek cd to 1");
}

TEST_F(PlayModesTest, TheWatchLooksAtTheDriveNearTheEndAndGoesOnAtOnce) {
    insert(disc({15, 10}));
    modes(Repeat::Track, false, false);
    core.transport.Play();
    QTimer* timer = core.watch.timer();
    ASSERT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 15'000 - 1500);  // from the refresh's reading, with room

    clock->advanceMs(14'900);
    core.watch.check();  // still playing: the next look is just past the end
    EXPECT_TRUE(timer->isActive());
    EXPECT_LE(timer->interval(), 110);
    clock->advanceMs(100);
    core.watch.check();
    EXPECT_EQ(recorder.moves, (Commands{"play cd to 2", "play cd from 1 to 2"}));

    // A mode change while playing gives the play its new end at once; turned off, the play
    // keeps the end it has and the disc plays on from there.
    modes(Repeat::Off, false, true);
    EXPECT_EQ(recorder.moves.back(), "play cd to 1:0:10:0");
    modes(Repeat::Off, false, false);
    run(11);
    EXPECT_EQ(recorder.moves.back(), "play cd from 2");
    EXPECT_TRUE(state().Playing);
}
