// Which drive a VELMORA_DRIVE value (or its absence) gives; the CLI tests show it is read.
#include "cdio_test_support.h"

#include "platform/cdio/cdio_drive.h"
#include "platform/drive_selection.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using cdiotest::writeFile;

struct SelectionRig {
    QTemporaryDir dir;
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    QString good =
        writeFile(dir.filePath(QStringLiteral("good.disc")), "track 1 150 audio\ntrack 2 3000 audio\nleadout 6000\n");
    QString bad =
        writeFile(dir.filePath(QStringLiteral("bad.disc")), "track 1 150 audio\ntrack 2 3000 noise\nleadout 6000\n");
    QString demo = writeFile(dir.filePath(QStringLiteral("demo.disc")),
                             "track 1 150 audio\ntrack 2 3000 audio\ntrack 3 4000 audio\nleadout 6000\n");
};

int trackCount(const DriveSelection& s) {
    if (!s.drive) return -1;
    const auto toc = s.drive->toc();
    return toc ? toc->lastTrack() : 0;
}

// "sim:<file>" gives a simulated drive on the given clock, holding that disc; a file it
// refuses leaves it empty, with the reason naming file and line.
TEST(DriveSelection, SimulatedDrives) {
    SelectionRig rig;
    const struct {
        QString disc;
        int tracks;
        QString errorStart;  // "" for none
    } cases[] = {{rig.good, 2, {}}, {{}, 0, {}}, {rig.bad, 0, rig.bad + QStringLiteral(":2:")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.disc.toStdString());
        const DriveSelection s = selectDrive(QStringLiteral("sim:") + c.disc, rig.demo, rig.clock);
        ASSERT_EQ(trackCount(s), c.tracks);
        if (c.errorStart.isEmpty()) EXPECT_TRUE(s.error.isEmpty()) << s.error.toStdString();
        else EXPECT_TRUE(s.error.startsWith(c.errorStart)) << s.error.toStdString();
        if (c.tracks == 0) {
            EXPECT_EQ(s.drive->status().mode, DriveMode::NotReady);
            continue;
        }
        ASSERT_EQ(s.drive->play(150, 3000), DriveError::None);
        rig.clock->advanceMs(2000);
        EXPECT_EQ(s.drive->status().positionFrame, 300);
    }
}

TEST(DriveSelection, OtherPathsGoToTheRealDriveBackend) {
    SelectionRig rig;
    const QString path = rig.dir.filePath(QStringLiteral("no-such-device"));
    QString expected;
    ASSERT_FALSE(openCdioDrive(path, rig.clock, &expected));
    const DriveSelection s = selectDrive(path, rig.demo, rig.clock);
    EXPECT_EQ(s.drive, nullptr);
    EXPECT_EQ(s.error, expected);
}

// With no drive named and none attached, the demo disc; a demo image that will not open
// falls back to the .disc beside it, keeping the reason.
TEST(DriveSelection, UnsetFallsBackToTheDemoDisc) {
    if (firstCdDrive()) GTEST_SKIP() << "this machine has a CD drive";
    SelectionRig rig;
    const QString image = writeFile(rig.dir.filePath(QStringLiteral("demo.cue")), "not a cue sheet at all\n");
    for (const QString& demo : {rig.demo, image}) {
        const DriveSelection s = selectDrive(QString(), demo, rig.clock);
        EXPECT_EQ(trackCount(s), 3) << demo.toStdString();
        EXPECT_EQ(s.error.isEmpty(), demo == rig.demo) << s.error.toStdString();
    }
}

}  // namespace
}  // namespace velmora
