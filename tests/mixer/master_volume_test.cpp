#include "fake_mixer_volume.h"
#include "mixer/master_volume.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <utility>
#include <vector>

namespace velmora {
namespace {

using velmora::testing::FakeMixerVolume;
using Readings = std::vector<std::pair<int, bool>>;

// The model on a mixer in memory, recording what it reports.
class MasterVolumeTest : public ::testing::Test {
protected:
    MasterVolumeTest() {
        master.setGate([this] { return open; });
        QObject::connect(&master, &MasterVolume::polled, [this](int v, bool m) { polls.emplace_back(v, m); });
        QObject::connect(&master, &MasterVolume::changed, [this](int v, bool m) { changes.emplace_back(v, m); });
    }

    bool open = true;
    int made = 0;
    FakeMixerVolume* fake = nullptr;
    MasterVolume master{[this] {
        ++made;
        auto mixer = std::make_unique<FakeMixerVolume>();
        fake = mixer.get();
        return mixer;
    }};
    Readings polls, changes;
};

// Behind a shut gate nothing is made or read; open, tmrVolume polls.
TEST_F(MasterVolumeTest, TheGateDecidesAndTheTimerPolls) {
    QTimer* timer = master.tmrVolume();
    EXPECT_EQ(timer->objectName(), "tmrVolume");
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_TRUE(timer->isActive());
    open = false;
    master.poll();
    EXPECT_EQ(made, 0);

    open = true;
    timer->setInterval(1);
    QDeadlineTimer deadline(5000);
    while (polls.empty() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(polls, (Readings{{0, false}}));
    EXPECT_EQ(made, 1);
}

// Every poll reports what it read, on the 0..65535 scale or -1; `changed` only when the line
// moved. Polls never write; writes reach the mixer unchanged and show at the next poll.
TEST_F(MasterVolumeTest, PollsReportEveryReadingAndChangesOnlyWhenTheLineMoved) {
    struct Step {
        int volume;
        bool muted;
        bool available;
        std::pair<int, bool> read;
        bool changes;
    };
    const Step steps[] = {
        {20000, false, true, {20000, false}, true},  // the first poll always tells
        {20000, false, true, {20000, false}, false}, {20000, true, true, {20000, true}, true},
        {70000, true, true, {65535, true}, true},    {-5, true, true, {-1, true}, true},
        {30000, false, false, {-1, true}, false},  // no mixer reads like the one above
    };
    master.setVolume(0);  // makes the mixer
    ASSERT_NE(fake, nullptr);
    for (const Step& s : steps) {
        *fake = FakeMixerVolume{};
        fake->mainVolume = s.volume, fake->mainMute = s.muted, fake->available = s.available;
        const std::size_t before = changes.size();
        master.poll();
        EXPECT_EQ(polls.back(), s.read) << s.volume;
        EXPECT_EQ(changes.size() - before, s.changes ? 1u : 0u) << s.volume;
        EXPECT_EQ(fake->volumeWrites + fake->muteWrites, 0);
    }
    fake->available = true;
    master.setVolume(65535);
    master.setMute(true);
    EXPECT_EQ(changes.size(), 4u) << "a write tells nothing until a poll has read it";
    master.poll();
    EXPECT_EQ(changes.back(), std::make_pair(65535, true));
    EXPECT_EQ(made, 1);

    MasterVolume none([] { return std::unique_ptr<CMixerVolume>(); });
    none.setVolume(100);
    none.poll();
    EXPECT_EQ(none.volume(), -1);
    EXPECT_TRUE(none.muted());
}

}  // namespace
}  // namespace velmora
