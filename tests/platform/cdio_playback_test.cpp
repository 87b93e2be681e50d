// Digital playback of generated images on a manual clock: the output must be exactly the disc's.
#include "cdio_test_support.h"

#include "platform/cdio/cdio_drive.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace cdiotest;

constexpr int kStepMs = 40;        // 1764 samples: exactly three CD frames
constexpr int kFramesPerStep = 3;

class CdioPlayback : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::shared_ptr<CdDrive> open(const TestImage& image, CdioDriveOptions options = {}) {
        if (options.pcm.configText.empty()) options.pcm = fileOutput(outPath());
        QString error;
        auto drive = openCdioDrive(image.cue, clock_, &error, options);
        EXPECT_TRUE(drive) << error.toStdString();
        return drive;
    }

    // Lets `ms` of playback pass; the reported position is what the output has taken.
    void playFor(CdDrive& drive, int ms) {
        const int start = drive.status().positionFrame;
        for (int step = 1; step <= ms / kStepMs; ++step) {
            clock_->advanceMs(kStepMs);
            ASSERT_TRUE(waitFor([&] { return drive.status().positionFrame >= start + step * kFramesPerStep; }))
                << "stuck at frame " << drive.status().positionFrame << ", step " << step;
        }
        ASSERT_EQ(drive.status().positionFrame, start + ms / kStepMs * kFramesPerStep);
    }

    // The output holds exactly these (first frame, frames) runs of the disc, back to back.
    void expectOutput(const DiscToc& toc, const std::vector<std::pair<int, int>>& runs) {
        long long total = 0;
        for (auto [start, frames] : runs) total += std::int64_t(frames) * 588;
        ASSERT_TRUE(waitFor([&] { return outputFrames(outPath()) == total; }))
            << "output holds " << outputFrames(outPath()) / 588.0 << " frames, expected " << total / 588;
        const auto samples = readSamples(outPath());
        long long at = 0;
        for (auto [start, frames] : runs) {
            EXPECT_EQ(expectRun(samples, at, std::int64_t(start) * 588, std::int64_t(frames) * 588, toc), "");
            at += std::int64_t(frames) * 588;
        }
    }

    QString outPath() const { return dir_.path() + QStringLiteral("/out.raw"); }

    QTemporaryDir dir_;
    std::shared_ptr<ManualClock> clock_ = std::make_shared<ManualClock>();
};

// The output holds exactly the disc's samples for what was played, across a track
// boundary, and nothing while paused or after a seek.
TEST_F(CdioPlayback, TransportWritesExactlyThePlayedSamples) {
    const TestImage image = makeImage(dir_.path(), "disc", {{150}, {150}, {300}});
    auto drive = open(image);
    ASSERT_TRUE(drive);
    const int from = image.toc.tracks[1].startFrame - 17;
    ASSERT_EQ(drive->play(from, image.toc.leadoutFrame), DriveError::None);
    EXPECT_EQ(drive->status().mode, DriveMode::Playing);
    playFor(*drive, 400);
    ASSERT_EQ(drive->pause(), DriveError::None);
    expectOutput(image.toc, {{from, 30}});
    clock_->advanceMs(3000);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(outputFrames(outPath()), 30 * 588);
    EXPECT_EQ(drive->status().positionFrame, from + 30);
    EXPECT_EQ(drive->status().mode, DriveMode::Paused);

    ASSERT_EQ(drive->resume(), DriveError::None);
    playFor(*drive, 800);
    const int target = image.toc.tracks[2].startFrame + 41;
    ASSERT_EQ(drive->seek(target), DriveError::None);
    EXPECT_EQ(drive->status().mode, DriveMode::Stopped);
    expectOutput(image.toc, {{from, 90}});
    clock_->advanceMs(500);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(drive->status().positionFrame, target) << "a seek must not go on playing";

    ASSERT_EQ(drive->play(target, image.toc.leadoutFrame), DriveError::None);
    playFor(*drive, 320);
    ASSERT_EQ(drive->pause(), DriveError::None);
    expectOutput(image.toc, {{from, 90}, {target, 24}});
    ASSERT_EQ(drive->stop(), DriveError::None);
    EXPECT_EQ(drive->status().mode, DriveMode::Stopped);
    EXPECT_EQ(drive->status().positionFrame, image.toc.tracks[0].startFrame);
}

// Where playback must end by itself, and what it must have played on the way.
struct EndCase {
    const char* name;
    std::vector<ImageTrackSpec> tracks;
    int fromTrack;        // 1-based
    int fromOffset;       // frames into that track
    bool toLeadout;       // else to the end of `fromTrack`
    std::vector<std::pair<int, int>> played;  // (track, frames from its start) runs, in order
    int endTrackAfter;    // the position after the end: start of this track, 0 = leadout
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class CdioPlaybackEnds : public CdioPlayback, public ::testing::WithParamInterface<EndCase> {};

TEST_P(CdioPlaybackEnds, StopsByItselfAfterPlayingExactlyTheAudio) {
    const EndCase& c = GetParam();
    const TestImage image = makeImage(dir_.path(), "disc", c.tracks);
    auto drive = open(image);
    ASSERT_TRUE(drive);
    const int from = image.toc.tracks[c.fromTrack - 1].startFrame + c.fromOffset;
    const int end = c.toLeadout ? image.toc.leadoutFrame : image.toc.trackEnd(c.fromTrack);
    ASSERT_EQ(drive->play(from, end), DriveError::None);
    ASSERT_TRUE(runClockUntil(*clock_, [&] { return drive->status().mode == DriveMode::Stopped; }));
    const int expectedEnd = c.endTrackAfter == 0 ? image.toc.leadoutFrame
                                                 : image.toc.tracks[c.endTrackAfter - 1].startFrame;
    EXPECT_EQ(drive->status().positionFrame, expectedEnd);

    std::vector<std::pair<int, int>> runs;
    for (auto [track, frames] : c.played)
        runs.push_back({runs.empty() ? from : image.toc.tracks[track - 1].startFrame, frames});
    expectOutput(image.toc, runs);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, CdioPlaybackEnds,
    ::testing::Values(
        EndCase{"EndOfDisc", {{100}, {60}}, 2, 30, true, {{2, 30}}, 0},
        EndCase{"EndOfOneTrack", {{60}, {60}, {60}}, 1, 0, false, {{1, 60}}, 2},
        EndCase{"BeforeTrailingDataTrack", {{60}, {45}, {120, false}}, 1, 50, true, {{1, 10}, {2, 45}}, 3},
        EndCase{"OverADataTrackInTheMiddle", {{60}, {90, false}, {30}}, 1, 48, true, {{1, 12}, {3, 30}}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// An image's tray is ours (no libcdio eject); closing it reads the image again, as it now is.
TEST_F(CdioPlayback, TrayOfAnImageIsSimulated) {
    TestImage image = makeImage(dir_.path(), "disc", {{150}, {150}});
    auto drive = open(image);
    ASSERT_TRUE(drive);
    ASSERT_EQ(drive->play(image.toc.tracks[0].startFrame, image.toc.leadoutFrame), DriveError::None);
    playFor(*drive, 120);

    ASSERT_EQ(drive->setDoorOpen(true), DriveError::None);
    EXPECT_EQ(drive->status().mode, DriveMode::Open);
    EXPECT_FALSE(drive->toc());
    EXPECT_EQ(drive->play(150, 200), DriveError::NotReady);
    EXPECT_EQ(drive->setDoorOpen(true), DriveError::None) << "opening twice is harmless";

    image = makeImage(dir_.path(), "disc", {{75}, {75}, {75}});
    ASSERT_EQ(drive->setDoorOpen(false), DriveError::None);
    EXPECT_EQ(drive->status().mode, DriveMode::Stopped);
    EXPECT_EQ(drive->status().positionFrame, image.toc.tracks[0].startFrame);
    ASSERT_TRUE(drive->toc());
    EXPECT_EQ(layout(*drive->toc()), layout(image.toc));
    ASSERT_EQ(drive->play(image.toc.tracks[1].startFrame, image.toc.leadoutFrame), DriveError::None);
    playFor(*drive, 80);

    // A broken image behind a closed tray: no disc, a reason, no crash.
    ASSERT_EQ(drive->setDoorOpen(true), DriveError::None);
    QFile::resize(dir_.path() + "/disc.bin", 1000);
    EXPECT_EQ(drive->setDoorOpen(false), DriveError::NotReady);
    EXPECT_EQ(drive->status().mode, DriveMode::NotReady);
    EXPECT_FALSE(drive->lastErrorDetail().empty());
}

TEST_F(CdioPlayback, CommandsOutsideTheDiscAreRefused) {
    const TestImage image = makeImage(dir_.path(), "disc", {{150}});
    auto drive = open(image);
    ASSERT_TRUE(drive);
    const int leadout = image.toc.leadoutFrame;
    EXPECT_EQ(drive->play(150, leadout + 1), DriveError::OutOfRange);
    EXPECT_EQ(drive->play(200, 190), DriveError::OutOfRange);
    EXPECT_EQ(drive->play(-1, 190), DriveError::OutOfRange);
    EXPECT_EQ(drive->seek(leadout + 1), DriveError::OutOfRange);
    EXPECT_EQ(drive->seek(leadout), DriveError::None);
    EXPECT_EQ(drive->resume(), DriveError::Hardware) << "nothing was paused";
    // from == to plays nothing and leaves the head there.
    EXPECT_EQ(drive->play(200, 200), DriveError::None);
    EXPECT_EQ(drive->status().mode, DriveMode::Stopped);
    EXPECT_EQ(drive->status().positionFrame, 200);
}

// No sound device, or analog playback (an image has none): refused with the reason.
TEST_F(CdioPlayback, PlaysThatCannotBeginAreRefusedWithTheReason) {
    const TestImage image = makeImage(dir_.path(), "disc", {{150}});
    CdioDriveOptions missing, analog;
    missing.pcm.device = "nowhere";
    missing.pcm.configText = "pcm.nowhere { type hw card 97 }";
    analog.analog = true;
    const struct {
        CdioDriveOptions options;
        DriveError error;
        const char* detail;
    } cases[] = {{missing, DriveError::NoSoundDevice, "nowhere"}, {analog, DriveError::Unsupported, "analog"}};
    for (const auto& c : cases) {
        auto drive = open(image, c.options);
        ASSERT_TRUE(drive);
        EXPECT_EQ(drive->play(150, 300), c.error);
        EXPECT_NE(drive->lastErrorDetail().find(c.detail), std::string::npos) << drive->lastErrorDetail();
        EXPECT_EQ(drive->status().mode, DriveMode::Stopped);
    }
}

}  // namespace
}  // namespace velmora
