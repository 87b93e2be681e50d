// Disc images through libcdio: the table of contents of generated images, broken images that
// must fail to open with a reason, and digital playback on a manual clock that must give
// exactly the disc's samples.
#include "cdio_test_support.h"

#include "platform/cdio/cdio_drive.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

using namespace cdiotest;

std::shared_ptr<CdDrive> openImage(const QString& path, QString* error) {
    CdioDriveOptions options;
    options.pcm = fileOutput(QStringLiteral("/dev/null"));
    return openCdioDrive(path, std::make_shared<ManualClock>(), error, options);
}

struct TocCase {
    const char* name;
    std::vector<ImageTrackSpec> tracks;
    const char* tocSheet = nullptr;  // a .toc over the same data, read as well
};

void PrintTo(const TocCase& c, std::ostream* os) { *os << c.name; }

class CdioImageToc : public ::testing::TestWithParam<TocCase> {};

TEST_P(CdioImageToc, ReadsAsWritten) {
    QTemporaryDir dir;
    const TestImage image = makeImage(dir.path(), "disc", GetParam().tracks);
    ASSERT_FALSE(image.cue.isEmpty());
    QStringList sheets{image.cue};
    if (GetParam().tocSheet) sheets << writeFile(dir.path() + "/disc.toc", GetParam().tocSheet);
    for (const QString& sheet : sheets) {
        SCOPED_TRACE(sheet.toStdString());
        QString error;
        auto drive = openImage(sheet, &error);
        ASSERT_TRUE(drive) << error.toStdString();
        const std::optional<DiscToc> ours = drive->toc();
        ASSERT_TRUE(ours);
        EXPECT_EQ(layout(*ours), layout(image.toc));
        EXPECT_TRUE(ours->text.empty()) << "a sheet without CD-Text";
    }
}

INSTANTIATE_TEST_SUITE_P(Images, CdioImageToc,
                         ::testing::Values(TocCase{"OneTrack", {{1}}},
                                           TocCase{"ThreeAudioTracks",
                                                   {{150}, {225}, {112}},
                                                   "CD_DA\n"
                                                   "TRACK AUDIO\nFILE \"disc.bin\" 0 00:02:00\n"
                                                   "TRACK AUDIO\nFILE \"disc.bin\" 00:02:00 00:03:00\n"
                                                   "TRACK AUDIO\nFILE \"disc.bin\" 00:05:00 00:01:37\n"},
                                           TocCase{"TrailingDataTrack", {{75}, {80}, {300, false}}},
                                           TocCase{"LeadingDataTrack", {{200, false}, {75}, {75}}},
                                           TocCase{"NinetyNineTracks",
                                                   std::vector<ImageTrackSpec>(99, ImageTrackSpec{4})}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CdioImage, ACueSheetsCdTextComesWithTheTableOfContents) {
    QTemporaryDir dir;
    ASSERT_FALSE(writeFile(dir.filePath(QStringLiteral("a.bin")), QByteArray(6 * 75 * 2352, '\0')).isEmpty());
    const QString cue = writeFile(dir.filePath(QStringLiteral("a.cue")),
                                  "TITLE \"Night Music\"\r\nPERFORMER \"Caf\xC3\xA9 Trio\"\r\nFILE \"a.bin\" BINARY\r\n"
                                  "  TRACK 01 AUDIO\r\n    TITLE \"Prelude\"\r\n    INDEX 01 00:00:00\r\n"
                                  "  TRACK 02 AUDIO\r\n    INDEX 01 00:03:00\r\n");
    QString error;
    auto drive = openImage(cue, &error);
    ASSERT_TRUE(drive) << error.toStdString();
    const auto toc = drive->toc();
    ASSERT_TRUE(toc);
    EXPECT_EQ(toc->text.title, QStringLiteral("Night Music"));
    EXPECT_EQ(toc->text.performer, QStringLiteral("Caf\u00e9 Trio"));
    EXPECT_EQ(toc->text.trackTitles, (std::vector<QString>{QStringLiteral("Prelude"), QString()}));
}

TEST(CdioImage, DemoDiscImageIsTwelveShortDistinctTracks) {
    const QString cue = QStringLiteral(VELMORA_RUNTIME_DIR "/demo/demo.cue");
    if (!QFile::exists(cue)) GTEST_SKIP() << "the demo image is made by the velmora_demo_image target";
    QString error;
    auto drive = openImage(cue, &error);
    ASSERT_TRUE(drive) << error.toStdString();
    const auto toc = drive->toc();
    ASSERT_TRUE(toc);
    ASSERT_EQ(toc->lastTrack(), 12);
    // It names itself, so a first start shows names.
    EXPECT_EQ(toc->text.title, QStringLiteral("Twelve Tone Studies"));
    EXPECT_EQ(toc->text.performer, QStringLiteral("The Velmora Ensemble"));
    EXPECT_EQ(toc->text.trackTitles.size(), 12u);
    EXPECT_EQ(toc->text.trackTitles.back(), QStringLiteral("Study No. 12 (Major Seventh)"));
    // Not silence, and not the same sound twice: compare 5 s into each track.
    QFile bin(QStringLiteral(VELMORA_RUNTIME_DIR "/demo/demo.bin"));
    ASSERT_TRUE(bin.open(QIODevice::ReadOnly));
    std::vector<QByteArray> snippets;
    for (const TocTrack& t : toc->tracks) {
        SCOPED_TRACE("track " + std::to_string(t.number));
        EXPECT_LE(toc->trackEnd(t.number) - t.startFrame, 20 * 75) << "not short";
        bin.seek(qint64(t.startFrame - kLeadInFrames + 5 * 75) * 2352);
        const QByteArray s = bin.read(2352 * 10);
        EXPECT_NE(s, QByteArray(s.size(), '\0')) << "silent";
        EXPECT_EQ(std::count(snippets.begin(), snippets.end(), s), 0) << "sounds like an earlier track";
        snippets.push_back(s);
    }
}

// A path that will not open: what is written, and a phrase the reason must hold.
struct BadImage {
    const char* name;
    const char* sheetName;  // the path opened, in a fresh folder; nullptr for none at all
    const char* sheet;      // the cue sheet's or .toc's text, or nullptr to write nothing
    const char* binName;    // data file to create, or nullptr
    qint64 binBytes;
    const char* reason;
};

void PrintTo(const BadImage& c, std::ostream* os) { *os << c.name; }

class CdioBadImage : public ::testing::TestWithParam<BadImage> {};

TEST_P(CdioBadImage, FailsToOpenWithAReason) {
    const BadImage& c = GetParam();
    QTemporaryDir dir;
    if (c.binName) {
        ASSERT_FALSE(writeFile(dir.path() + "/" + c.binName, QByteArray(c.binBytes, '\x11')).isEmpty());
    }
    QString path;
    if (c.sheetName) path = dir.path() + "/" + c.sheetName;
    if (c.sheet) {
        ASSERT_FALSE(writeFile(path, QByteArray(c.sheet)).isEmpty());
    }
    QString error;
    auto drive = openImage(path, &error);
    EXPECT_FALSE(drive);
    EXPECT_TRUE(error.contains(QLatin1String(c.reason), Qt::CaseInsensitive))
        << "reason given: " << error.toStdString();
}

constexpr qint64 kSector = 2352;

// One track more than a disc holds, each a second of the data file.
const std::string kHundredTrackToc = [] {
    std::string toc = "CD_DA\n";
    for (int i = 0; i < 100; ++i) toc += "TRACK AUDIO\nFILE \"a.bin\" " + std::to_string(i * 44100) + " 44100\n";
    return toc;
}();

INSTANTIATE_TEST_SUITE_P(
    Images, CdioBadImage,
    ::testing::Values(
        BadImage{"NoFileLine", "a.cue", "TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "a.bin", 10 * kSector,
                 "before any FILE"},
        BadImage{"MissingDataFile", "a.cue", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", nullptr, 0,
                 "missing"},
        BadImage{"DataFileOfOddSize", "a.cue", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "a.bin",
                 10 * kSector + 3, "wrong size"},
        BadImage{"EmptyDataFile", "a.cue", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "a.bin", 0,
                 "empty"},
        BadImage{"TrackBeyondTheData", "a.cue",
                 "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:10:00\n",
                 "a.bin", 10 * kSector, "too short"},
        BadImage{"FramesOver74", "a.cue", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:75\n", "a.bin",
                 10 * kSector, "bad time"},
        BadImage{"NoIndex", "a.cue", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n",
                 "a.bin", 10 * kSector, "no INDEX 01"},
        BadImage{"TracksOutOfOrder", "a.cue",
                 "FILE \"a.bin\" BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\nTRACK 01 AUDIO\nINDEX 01 00:00:05\n",
                 "a.bin", 10 * kSector, "bad track number"},
        BadImage{"UnknownMode", "a.cue", "FILE \"a.bin\" BINARY\nTRACK 01 VIDEO\nINDEX 01 00:00:00\n", "a.bin",
                 10 * kSector, "unknown track mode"},
        BadImage{"NoTracks", "a.cue", "FILE \"a.bin\" BINARY\n", "a.bin", 10 * kSector, "no tracks"},
        BadImage{"DataFileNamedOtherwise", "a.cue", "FILE \"b.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
                 "b.bin", 10 * kSector, "rename"},
        BadImage{"TocMissingDataFile", "a.toc", "CD_DA\nTRACK AUDIO\nFILE \"gone.bin\" 0 00:02:00\n", nullptr, 0,
                 "missing"},
        BadImage{"TocBadTime", "a.toc", "CD_DA\nTRACK AUDIO\nFILE \"a.bin\" 0 00:02:99\n", "a.bin", 200 * kSector,
                 "bad time"},
        BadImage{"TocNoTracks", "a.toc", "CD_DA\n", nullptr, 0, "no tracks"},
        BadImage{"TocFileBeforeTrack", "a.toc", "CD_DA\nFILE \"a.bin\" 0\n", "a.bin", 200 * kSector,
                 "before any TRACK"},
        BadImage{"CueWithByteOrderMark", "a.cue",
                 "\xEF\xBB\xBF"
                 "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
                 "a.bin", 10 * kSector, "a.cue, line 1: the file starts with a byte-order mark"},
        BadImage{"TwoTracksAtOneFrame", "a.cue",
                 "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n",
                 "a.bin", 10 * kSector, "a.cue, line 5: track 2 starts at the same frame as the track before it"},
        BadImage{"TrackBeforeTheOneAhead", "a.cue",
                 "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:05\nTRACK 02 AUDIO\nINDEX 01 00:00:01\n",
                 "a.bin", 10 * kSector, "a.cue, line 5: track 2 starts earlier than the track before it"},
        BadImage{"TocHugeSampleCount", "a.toc", "CD_DA\nTRACK AUDIO\nFILE \"a.bin\" 0 99999999999999\n", "a.bin",
                 10 * kSector, "a.toc, line 3: 99999999999999 samples is longer than any disc"},
        BadImage{"TocSampleCountPastTheData", "a.toc", "CD_DA\nTRACK AUDIO\nFILE \"a.bin\" 0 441000\n", "a.bin",
                 10 * kSector, "a.toc, line 3: the track runs past the end of a.bin"},
        BadImage{"TocHundredTracks", "a.toc", kHundredTrackToc.c_str(), "a.bin", 100 * 75 * kSector,
                 "a.toc, line 200: track 100 is one too many; a disc holds at most 99 tracks"},
        BadImage{"AFolder", "", nullptr, nullptr, 0, "neither a CD drive nor a disc image"},
        BadImage{"NoSuchDevice", "absent/sr0", nullptr, nullptr, 0, "No such file"},
        BadImage{"NoSuchImage", "absent.cue", nullptr, nullptr, 0, "does not exist"},
        BadImage{"NoPathAtAll", nullptr, nullptr, nullptr, 0, "No drive"}),
    [](const auto& info) { return std::string(info.param.name); });

constexpr int kStepMs = 40;  // 1764 samples: exactly three CD frames
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
    void expectOutput(const std::vector<std::pair<int, int>>& runs) {
        long long total = 0;
        for (auto [start, frames] : runs) total += std::int64_t(frames) * 588;
        ASSERT_TRUE(waitFor([&] { return outputFrames(outPath()) == total; }))
            << "output holds " << outputFrames(outPath()) / 588.0 << " frames, expected " << total / 588;
        const auto samples = readSamples(outPath());
        long long at = 0;
        for (auto [start, frames] : runs) {
            EXPECT_EQ(expectRun(samples, at, std::int64_t(start) * 588, std::int64_t(frames) * 588), "");
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
    playFor(*drive, 400);
    ASSERT_EQ(drive->pause(), DriveError::None);
    expectOutput({{from, 30}});
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
    expectOutput({{from, 90}});
    clock_->advanceMs(500);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(drive->status().positionFrame, target) << "a seek must not go on playing";

    ASSERT_EQ(drive->play(target, image.toc.leadoutFrame), DriveError::None);
    playFor(*drive, 320);
    ASSERT_EQ(drive->pause(), DriveError::None);
    expectOutput({{from, 90}, {target, 24}});
    ASSERT_EQ(drive->stop(), DriveError::None);
    EXPECT_EQ(drive->status().mode, DriveMode::Stopped);
    EXPECT_EQ(drive->status().positionFrame, image.toc.tracks[0].startFrame);
}

// Where playback must end by itself, and what it must have played on the way.
struct EndCase {
    const char* name;
    std::vector<ImageTrackSpec> tracks;
    int fromTrack;                            // 1-based
    int fromOffset;                           // frames into that track
    bool toLeadout;                           // else to the end of `fromTrack`
    std::vector<std::pair<int, int>> played;  // (track, frames from its start) runs, in order
    int endTrackAfter;                        // the position after the end: start of this track, 0 = leadout
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
    const int expectedEnd =
        c.endTrackAfter == 0 ? image.toc.leadoutFrame : image.toc.tracks[c.endTrackAfter - 1].startFrame;
    EXPECT_EQ(drive->status().positionFrame, expectedEnd);

    std::vector<std::pair<int, int>> runs;
    for (auto [track, frames] : c.played)
        runs.push_back({runs.empty() ? from : image.toc.tracks[track - 1].startFrame, frames});
    expectOutput(runs);
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

// The data file cut short while it plays: playback stops where it was heard and says why,
// once; with the file back, play goes on from there.
TEST_F(CdioPlayback, ImageCutShortWhilePlayingStopsWhereItWasAndSaysWhyOnce) {
    const TestImage image = makeImage(dir_.path(), "disc", {{300}});
    auto drive = open(image);
    ASSERT_TRUE(drive);
    ASSERT_EQ(drive->play(150, image.toc.leadoutFrame), DriveError::None);
    playFor(*drive, 400);
    ASSERT_TRUE(QFile::resize(dir_.path() + "/disc.bin", 200 * kSector));
    ASSERT_TRUE(runClockUntil(*clock_, [&] { return drive->status().mode == DriveMode::Stopped; }));
    const int stoppedAt = drive->status().positionFrame;
    EXPECT_GE(stoppedAt, 180);
    EXPECT_LE(stoppedAt, 350);
    const std::string told = drive->takePlaybackFailure();
    EXPECT_NE(told.find("The disc image stopped: disc.cue"), std::string::npos) << told;
    EXPECT_EQ(drive->takePlaybackFailure(), "") << "told once";
    clock_->advanceMs(1000);
    EXPECT_EQ(drive->status().positionFrame, stoppedAt);

    makeImage(dir_.path(), "disc", {{300}});
    ASSERT_EQ(drive->play(stoppedAt, image.toc.leadoutFrame), DriveError::None);
    playFor(*drive, 200);
    EXPECT_EQ(drive->takePlaybackFailure(), "");
}

TEST_F(CdioPlayback, CommandsThatCannotBeCarriedOutAreRefused) {
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

    // No sound device, or analog playback (an image has none): refused with the reason.
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
        drive = open(image, c.options);
        ASSERT_TRUE(drive);
        EXPECT_EQ(drive->play(150, 300), c.error);
        EXPECT_NE(drive->lastErrorDetail().find(c.detail), std::string::npos) << drive->lastErrorDetail();
        EXPECT_EQ(drive->status().mode, DriveMode::Stopped);
    }
}

}  // namespace
}  // namespace velmora
