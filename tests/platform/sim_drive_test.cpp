// The simulated drive through its backend interface.
#include "mci_test_support.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QFile>

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

TEST(SimDrive, PlayMovesWithTheClockAndStopsByItselfAtTheEnd) {
    SimRig rig;
    ASSERT_EQ(rig.drive.play(20000, 20750), DriveError::None);
    EXPECT_EQ(rig.drive.status().mode, DriveMode::Playing);
    rig.clock->advanceMs(4000);  // 300 frames
    EXPECT_EQ(rig.drive.status().positionFrame, 20300);
    rig.clock->advanceMs(100000);
    const DriveStatus end = rig.drive.status();
    EXPECT_EQ(end.mode, DriveMode::Stopped);
    EXPECT_EQ(end.positionFrame, 20750);
    // It stays there.
    rig.clock->advanceMs(100000);
    EXPECT_EQ(rig.drive.status().positionFrame, 20750);
}

TEST(SimDrive, PauseFreezesAndResumeRestartsTheClock) {
    SimRig rig;
    ASSERT_EQ(rig.drive.play(150, 59999), DriveError::None);
    rig.clock->advanceMs(1000);
    ASSERT_EQ(rig.drive.pause(), DriveError::None);
    rig.clock->advanceMs(60000);
    EXPECT_EQ(rig.drive.status().mode, DriveMode::Paused);
    EXPECT_EQ(rig.drive.status().positionFrame, 225);
    ASSERT_EQ(rig.drive.resume(), DriveError::None);
    rig.clock->advanceMs(1000);
    EXPECT_EQ(rig.drive.status().positionFrame, 300);
    EXPECT_EQ(rig.drive.resume(), DriveError::None);  // already playing
}

TEST(SimDrive, StopAndSeek) {
    SimRig rig;
    EXPECT_EQ(rig.drive.resume(), DriveError::Hardware);
    ASSERT_EQ(rig.drive.play(30000, 59999), DriveError::None);
    rig.clock->advanceMs(1000);
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

TEST(SimDrive, ABadDiscFileLeavesTheDriveEmptyWithTheReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.disc"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("track 1 150 audio\ntrack 2 100 audio\nleadout 900\n");
    file.close();

    SimRig rig;
    QString error;
    EXPECT_FALSE(rig.drive.setDiscFile(path, &error));
    EXPECT_TRUE(error.contains(path + QStringLiteral(":2:"))) << error.toStdString();
    EXPECT_EQ(rig.drive.lastErrorDetail(), error.toStdString());
    EXPECT_FALSE(rig.drive.toc().has_value());
    EXPECT_EQ(rig.drive.status().mode, DriveMode::NotReady);

    const QString demo = QStringLiteral(VELMORA_SOURCE_DIR "/resources/demo/demo.disc");
    EXPECT_TRUE(rig.drive.setDiscFile(demo, &error));
    ASSERT_TRUE(rig.drive.toc().has_value());
    EXPECT_EQ(rig.drive.toc()->lastTrack(), 12);
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
