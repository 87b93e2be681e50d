// The simulated drive through its backend interface.
#include "mci_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace velmora {
namespace {

using testing_support::knownDisc;

struct SimRig {
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    SimulatedDrive drive{clock};
    SimRig() { drive.insert(knownDisc()); }
};

TEST(SimDrive, TransportFollowsTheClock) {
    SimRig rig;
    EXPECT_EQ(rig.drive.resume(), DriveError::Hardware) << "nothing is paused";
    // A play moves with the clock and stops by itself at its end, and stays there.
    ASSERT_EQ(rig.drive.play(20000, 20750), DriveError::None);
    EXPECT_EQ(rig.drive.status().mode, DriveMode::Playing);
    rig.clock->advanceMs(4000);  // 300 frames
    EXPECT_EQ(rig.drive.status().positionFrame, 20300);
    for (int i = 0; i < 2; ++i) {
        rig.clock->advanceMs(100000);
        EXPECT_EQ(rig.drive.status().mode, DriveMode::Stopped);
        EXPECT_EQ(rig.drive.status().positionFrame, 20750);
    }
    // A pause freezes the position; a resume restarts the clock.
    ASSERT_EQ(rig.drive.play(150, 59999), DriveError::None);
    rig.clock->advanceMs(1000);
    ASSERT_EQ(rig.drive.pause(), DriveError::None);
    rig.clock->advanceMs(60000);
    EXPECT_EQ(rig.drive.status().mode, DriveMode::Paused);
    EXPECT_EQ(rig.drive.status().positionFrame, 225);
    ASSERT_EQ(rig.drive.resume(), DriveError::None);
    rig.clock->advanceMs(1000);
    EXPECT_EQ(rig.drive.status().positionFrame, 300);
    EXPECT_EQ(rig.drive.resume(), DriveError::None) << "already playing";
    // A stop returns to the disc start; a seek stops where it lands.
    ASSERT_EQ(rig.drive.stop(), DriveError::None);
    EXPECT_EQ(rig.drive.status().mode, DriveMode::Stopped);
    EXPECT_EQ(rig.drive.status().positionFrame, 150);
    ASSERT_EQ(rig.drive.play(30000, 59999), DriveError::None);
    ASSERT_EQ(rig.drive.seek(45000), DriveError::None);
    rig.clock->advanceMs(1000);
    EXPECT_EQ(rig.drive.status().mode, DriveMode::Stopped);
    EXPECT_EQ(rig.drive.status().positionFrame, 45000);
}

TEST(SimDrive, RefusesRangesOutsideTheDisc) {
    SimRig rig;
    EXPECT_EQ(rig.drive.play(-1, 100), DriveError::OutOfRange);
    EXPECT_EQ(rig.drive.play(150, 60001), DriveError::OutOfRange);
    EXPECT_EQ(rig.drive.play(500, 400), DriveError::OutOfRange);
    EXPECT_EQ(rig.drive.seek(60001), DriveError::OutOfRange);
    EXPECT_EQ(rig.drive.seek(-5), DriveError::OutOfRange);
    EXPECT_FALSE(rig.drive.lastErrorDetail().empty());
    EXPECT_EQ(rig.drive.status().mode, DriveMode::Stopped);
}

TEST(SimDrive, DoorAndDiscChanges) {
    SimRig rig;
    ASSERT_EQ(rig.drive.play(150, 59999), DriveError::None);
    ASSERT_EQ(rig.drive.setDoorOpen(true), DriveError::None);
    DriveStatus open = rig.drive.status();
    EXPECT_EQ(open.mode, DriveMode::Open);
    EXPECT_FALSE(open.mediaPresent);
    EXPECT_FALSE(rig.drive.toc().has_value());
    EXPECT_EQ(rig.drive.play(150, 200), DriveError::NotReady);
    EXPECT_EQ(rig.drive.stop(), DriveError::NotReady);
    ASSERT_EQ(rig.drive.setDoorOpen(false), DriveError::None);
    ASSERT_TRUE(rig.drive.toc().has_value());
    EXPECT_EQ(rig.drive.toc()->leadoutFrame, 60000);
    EXPECT_EQ(rig.drive.status().mode, DriveMode::Stopped);

    rig.drive.remove();
    EXPECT_EQ(rig.drive.status().mode, DriveMode::NotReady);
    EXPECT_FALSE(rig.drive.status().mediaPresent);
    EXPECT_EQ(rig.drive.seek(150), DriveError::NotReady);
    // Closing an empty drive's closed door is harmless.
    EXPECT_EQ(rig.drive.setDoorOpen(false), DriveError::None);

    rig.drive.insert(testing_support::makeToc({150, 900}, 1800));
    ASSERT_TRUE(rig.drive.toc().has_value());
    EXPECT_EQ(rig.drive.toc()->tracks.size(), 2u);
    EXPECT_EQ(rig.drive.status().positionFrame, 150);
}

TEST(SimDrive, ToleratesQueriesFromOtherThreads) {
    SimRig rig;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            const DriveStatus s = rig.drive.status();
            if (s.mediaPresent) {
                EXPECT_GE(s.positionFrame, 150);
                EXPECT_LE(s.positionFrame, 60000);
            }
            (void)rig.drive.toc();
        }
    });
    for (int i = 0; i < 2000; ++i) {
        rig.drive.play(150 + i, 59999);
        rig.clock->advanceMs(13);
        if (i % 3 == 0) rig.drive.pause();
        if (i % 7 == 0) rig.drive.setDoorOpen(true);
        if (i % 7 == 1) rig.drive.setDoorOpen(false);
    }
    done = true;
    reader.join();
}

}  // namespace
}  // namespace velmora
