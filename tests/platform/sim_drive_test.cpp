// The simulated drive through its backend interface; its transport is covered through
// command strings in mci_transport_test.cpp.
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
