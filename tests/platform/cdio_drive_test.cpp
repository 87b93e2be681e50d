// A real drive over a scripted device: disc changes, failing reads, ejects during a read.
#include "cdio_test_support.h"

#include "platform/cdio/cd_device.h"
#include "platform/cdio/cdio_drive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <optional>

namespace velmora {
namespace {

using namespace cdiotest;

// A scripted device: a sticky media-changed flag, a handle gone stale when the disc changes,
// reads that fail, stall or cannot read audio, and no eject while the handle is open.
class FakeCdDevice final : public CdDevice {
public:
    explicit FakeCdDevice(std::optional<DiscToc> disc) : disc_(std::move(disc)) {}

    // The script, from the test's thread.
    void insert(std::optional<DiscToc> disc) {  // by hand, the tray staying shut
        std::lock_guard lock(mu_);
        disc_ = std::move(disc);
        changed_ = stale_ = true;
    }
    std::atomic<bool> readsAudio{true}, sectorsFail{false};
    std::atomic<bool> mounted{false};   // someone else holds it: ejects fail
    std::atomic<int> sectorDelayMs{0};  // every sector read takes this long
    void stallReads() { stalled_ = true; }
    void releaseReads() {
        stalled_ = false;
        stalled_.notify_all();
    }

    // What the drive did to it.
    std::atomic<int> opens{0}, reads{0}, ejects{0}, refusedEjects{0};

    // CdDevice, called under the drive's handle lock.
    bool open(const std::string&) override {
        std::lock_guard lock(mu_);
        ++opens;
        open_ = true;
        stale_ = false;
        handleToc_ = trayOpen_ ? std::nullopt : disc_;
        return true;
    }
    void close() override {
        std::lock_guard lock(mu_);
        open_ = false;
        handleToc_.reset();
    }
    bool isOpen() const override { return open_; }
    int firstTrack() override {
        std::lock_guard lock(mu_);
        return handleToc_ ? handleToc_->firstTrack() : 0;
    }
    int lastTrack() override {
        std::lock_guard lock(mu_);
        return handleToc_ ? handleToc_->lastTrack() : 0;
    }
    std::optional<int> trackLsn(int track) override {
        std::lock_guard lock(mu_);
        if (!handleToc_) return std::nullopt;
        if (track == kLeadoutTrack) return handleToc_->leadoutFrame - kLeadInFrames;
        const TocTrack* t = handleToc_->track(track);
        return t ? std::optional<int>(t->startFrame - kLeadInFrames) : std::nullopt;
    }
    bool trackIsAudio(int track) override {
        std::lock_guard lock(mu_);
        const TocTrack* t = handleToc_ ? handleToc_->track(track) : nullptr;
        return t && t->audio;
    }
    int mediaChanged() override { return changed_.exchange(false) ? 1 : 0; }
    int trayStatus() override { return trayOpen_ ? 1 : 0; }
    bool readSectors(int, int count, std::uint8_t* out) override {
        for (int i = 0; i < count; ++i)
            if (readOne(out + std::size_t(i) * 2352) != SectorResult::Ok) return false;
        return true;
    }
    SectorResult readCorrected(int, std::uint8_t* out, int) override {
        if (!readsAudio) return SectorResult::CannotRead;
        return readOne(out);
    }
    Result eject() override {
        std::lock_guard lock(mu_);
        if (open_) {
            ++refusedEjects;
            return Result::Failed;
        }
        if (mounted) return Result::Failed;
        ++ejects;
        trayOpen_ = true;
        changed_ = true;
        return Result::Ok;
    }
    Result closeTray() override {
        std::lock_guard lock(mu_);
        trayOpen_ = false;
        changed_ = true;
        return Result::Ok;
    }
    Result audioPlay(int, int) override { return Result::Unsupported; }
    Result audio(AudioCall) override { return Result::Unsupported; }
    bool audioStatus(AudioState*, int*) override { return false; }

private:
    SectorResult readOne(std::uint8_t* out) {
        ++reads;
        if (sectorDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sectorDelayMs));
        stalled_.wait(true);
        std::lock_guard lock(mu_);
        std::memset(out, 0, 2352);
        return !open_ || stale_ || !handleToc_ || sectorsFail ? SectorResult::Damaged : SectorResult::Ok;
    }

    mutable std::mutex mu_;
    std::optional<DiscToc> disc_;       // in the drive
    std::optional<DiscToc> handleToc_;  // what the open handle read
    bool stale_ = false;
    std::atomic<bool> open_{false}, changed_{false}, trayOpen_{false};
    std::atomic<bool> stalled_{false};
};

// Two discs of the same length: only the reopen tells them apart.
const DiscToc kDiscA{{{1, 150, true}, {2, 1050, true}}, 1950};
const DiscToc kDiscB{{{1, 150, true}, {2, 750, true}, {3, 1350, true}}, 1950};

class RealDrive : public ::testing::Test {
protected:
    std::shared_ptr<CdDrive> open(std::optional<DiscToc> disc = kDiscA) {
        device_ = std::make_shared<FakeCdDevice>(std::move(disc));
        CdioDriveOptions options;
        options.pcm = fileOutput(QStringLiteral("/dev/null"));
        QString error;
        auto drive = openCdDevice(QStringLiteral("/dev/fake"), device_, clock_, &error, options);
        EXPECT_TRUE(drive) << error.toStdString();
        return drive;
    }

    // What the display does: a status and a table of contents every `stepMs`, for `ms`.
    void refreshFor(CdDrive& drive, int ms, int stepMs = 100) {
        for (int t = 0; t < ms; t += stepMs) {
            clock_->advanceMs(stepMs);
            drive.status();
            drive.toc();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    // Lets playback run, with no refresh in between, until the reader has read again.
    void readOn() {
        const int target = device_->reads + 1;
        ASSERT_TRUE(waitFor([&] {
            clock_->advanceMs(40);
            return device_->reads >= target;
        })) << "the reader stopped at "
            << device_->reads << " sectors";
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    std::shared_ptr<FakeCdDevice> device_;
    std::shared_ptr<ManualClock> clock_ = std::make_shared<ManualClock>();
};

// A disc changed by hand: one reopen, however often the display asks afterwards.
struct SwapCase {
    const char* name;
    bool playing;
    std::optional<DiscToc> next;
    DriveMode mode;  // once the change is noticed
};

void PrintTo(const SwapCase& c, std::ostream* os) { *os << c.name; }

class CdioDriveSwap : public RealDrive, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(CdioDriveSwap, IsNoticedWithOneReopen) {
    const SwapCase& c = GetParam();
    auto drive = open();
    ASSERT_TRUE(drive);
    if (c.playing) {
        ASSERT_EQ(drive->play(kDiscA.tracks[0].startFrame, kDiscA.leadoutFrame), DriveError::None);
        readOn();
    }
    device_->insert(c.next);
    // Playing, the reader meets the change first and reads the drive's flag itself.
    if (c.playing) readOn();
    ASSERT_TRUE(waitFor([&] {
        refreshFor(*drive, 100);
        return device_->opens >= 2 && drive->status().mode == c.mode;
    })) << "mode "
        << int(drive->status().mode) << ", opened " << device_->opens << " times";
    refreshFor(*drive, 1500);
    EXPECT_EQ(device_->opens, 2) << "every refresh reopened the device";

    const DriveStatus s = drive->status();
    EXPECT_EQ(s.mode, c.mode);
    EXPECT_EQ(drive->toc().has_value(), c.next.has_value());
    if (!c.next) return;
    EXPECT_EQ(layout(*drive->toc()), layout(*c.next));
    // Another disc starts at its beginning; the same one back may keep its place.
    if (c.next->lastTrack() != kDiscA.lastTrack()) {
        EXPECT_EQ(s.positionFrame, c.next->tracks[0].startFrame);
    }
    // The new disc plays.
    ASSERT_EQ(drive->play(c.next->tracks.back().startFrame, c.next->leadoutFrame), DriveError::None);
    EXPECT_EQ(drive->status().mode, DriveMode::Playing);
}

INSTANTIATE_TEST_SUITE_P(Discs, CdioDriveSwap,
                         ::testing::Values(SwapCase{"SwappedWhilePlaying", true, kDiscB, DriveMode::Stopped},
                                           SwapCase{"SwappedWhileStopped", false, kDiscB, DriveMode::Stopped},
                                           SwapCase{"SameDiscBackWhilePlaying", true, kDiscA, DriveMode::Stopped},
                                           SwapCase{"PulledWhilePlaying", true, std::nullopt, DriveMode::NotReady}),
                         [](const auto& info) { return std::string(info.param.name); });

// Reads that fail with the disc still in place: never a reason to reopen the device.
TEST_F(RealDrive, ReadsThatFailKeepTheDiscWithoutReopening) {
    const struct {
        const char* name;
        bool readsAudio, sectorsFail;
        DriveMode mode;      // after a while of playing
        const char* detail;  // in the drive's last error, or ""
    } cases[] = {{"the drive cannot read audio", false, false, DriveMode::Stopped, "cannot read audio"},
                 {"damaged sectors play as silence", true, true, DriveMode::Playing, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto drive = open();
        ASSERT_TRUE(drive);
        device_->readsAudio = c.readsAudio;
        device_->sectorsFail = c.sectorsFail;
        for (int round = 0; round < 2; ++round) {  // and again after a stop
            SCOPED_TRACE(round == 0 ? "first play" : "play after stop");
            ASSERT_EQ(drive->play(kDiscA.tracks[0].startFrame, kDiscA.leadoutFrame), DriveError::None);
            refreshFor(*drive, 1500);
            EXPECT_EQ(drive->status().mode, c.mode);
            EXPECT_TRUE(drive->toc());
            EXPECT_NE(drive->lastErrorDetail().find(c.detail), std::string::npos) << drive->lastErrorDetail();
            EXPECT_EQ(drive->stop(), DriveError::None);
            refreshFor(*drive, 500);
            EXPECT_EQ(device_->opens, 1) << "a refresh reopened the device";
        }
    }
}

// An eject returns at once, even inside a slow read, and opens the tray once the read lets go.
struct EjectCase {
    const char* name;
    bool stall;         // a read hangs until the test lets it go
    int sectorDelayMs;  // each sector takes this long and fails (retries on a bad disc)
    bool mounted;
};
void PrintTo(const EjectCase& c, std::ostream* os) { *os << c.name; }

class CdioDriveEject : public RealDrive, public ::testing::WithParamInterface<EjectCase> {};

TEST_P(CdioDriveEject, ReturnsAtOnceAndOpensOnceTheReadLetsGo) {
    const EjectCase& c = GetParam();
    auto drive = open();
    ASSERT_TRUE(drive);
    device_->mounted = c.mounted;
    if (c.stall) device_->stallReads();
    device_->sectorDelayMs = c.sectorDelayMs;
    device_->sectorsFail = c.sectorDelayMs > 0;
    const bool reading = c.stall || c.sectorDelayMs > 0;
    if (reading) {
        ASSERT_EQ(drive->play(kDiscA.tracks[0].startFrame, kDiscA.leadoutFrame), DriveError::None);
        ASSERT_TRUE(waitFor([&] { return device_->reads > 0; }));
    }

    auto eject = std::async(std::launch::async, [&] { return drive->setDoorOpen(true); });
    // A hang guard, not a speed target: five bad sectors take 2.5 s.
    const bool returned = eject.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    const int readsAtEject = device_->reads;
    device_->releaseReads();
    ASSERT_TRUE(returned) << "the eject waited for the read";
    // Refused at once it says so; refused after the read, the drive stays as it was.
    EXPECT_EQ(eject.get(), c.mounted && !reading ? DriveError::Hardware : DriveError::None);
    if (c.mounted) {
        ASSERT_TRUE(waitFor([&] { return drive->status().mode == DriveMode::Stopped; }));
        EXPECT_TRUE(drive->toc());
        EXPECT_NE(drive->lastErrorDetail().find("mounted"), std::string::npos) << drive->lastErrorDetail();
    } else {
        EXPECT_EQ(drive->status().mode, DriveMode::Open);
        EXPECT_FALSE(drive->toc());
        ASSERT_TRUE(waitFor([&] { return device_->ejects == 1; }));
        EXPECT_LE(device_->reads, readsAtEject + 1) << "the read went on after the eject";
        refreshFor(*drive, 500);
        EXPECT_EQ(drive->status().mode, DriveMode::Open);
        device_->sectorDelayMs = 0;
        device_->sectorsFail = false;
        ASSERT_EQ(drive->setDoorOpen(false), DriveError::None);
        EXPECT_EQ(drive->status().mode, DriveMode::Stopped);
    }
    EXPECT_EQ(device_->refusedEjects, 0) << "ejected with the handle still open";
    EXPECT_EQ(drive->play(kDiscA.tracks[1].startFrame, kDiscA.leadoutFrame), DriveError::None);
}

INSTANTIATE_TEST_SUITE_P(Reads, CdioDriveEject,
                         ::testing::Values(EjectCase{"ReadHangs", true, 0, false},
                                           EjectCase{"SectorsRetriedSlowly", false, 500, false},
                                           EjectCase{"MountedWhileStopped", false, 0, true},
                                           EjectCase{"MountedDuringARead", true, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
