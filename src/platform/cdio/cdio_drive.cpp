#include "platform/cdio/cdio_drive.h"

#include "platform/audio/playback_engine.h"
#include "platform/cdio/cdio_handle.h"
#include "platform/cdio/image_check.h"
#include "shared/regular_file.h"
#include "shared/units.h"

#include <cdio/cdio.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <thread>
#include <utility>
#include <vector>

namespace velmora {

namespace {

enum class Kind { Device, Image };

constexpr std::int64_t kEmptyDriveProbeMs = 2000;
// One refresh asks the drive a dozen questions in a row; the media-changed flag stays set
// until read, so asking it once per burst notices a change just as soon.
constexpr std::int64_t kMediaCheckMs = 250;
// An eject waits this long for a read to let go of the handle, then leaves the eject to
// a helper that does it once the read is over: a read retrying a bad sector can take
// seconds.
constexpr auto kEjectWait = std::chrono::milliseconds(100);

DriveError errorOf(CdDevice::Result rc) {
    return rc == CdDevice::Result::Unsupported ? DriveError::Unsupported : DriveError::Hardware;
}

bool sameToc(const std::optional<DiscToc>& a, const std::optional<DiscToc>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    if (a->leadoutFrame != b->leadoutFrame || a->tracks.size() != b->tracks.size()) return false;
    for (std::size_t i = 0; i < a->tracks.size(); ++i) {
        const TocTrack &x = a->tracks[i], &y = b->tracks[i];
        if (x.number != y.number || x.startFrame != y.startFrame || x.audio != y.audio) return false;
    }
    return a->text == b->text;
}

std::optional<DiscToc> readToc(CdDevice& device, std::string* why) {
    const int first = device.firstTrack();
    const int last = device.lastTrack();
    if (first < 1 || last > kMaxTracks || last < first) {
        *why = "no readable table of contents (no disc?)";
        return std::nullopt;
    }
    DiscToc toc;
    for (int t = first; t <= last; ++t) {
        const std::optional<int> lsn = device.trackLsn(t);
        if (!lsn) {
            *why = "the start of track " + std::to_string(t) + " cannot be read";
            return std::nullopt;
        }
        const bool audio = device.trackIsAudio(t);
        if (!toc.tracks.empty() && *lsn + kLeadInFrames <= toc.tracks.back().startFrame) {
            *why = "track " + std::to_string(t) + " starts before the track ahead of it";
            return std::nullopt;
        }
        toc.tracks.push_back({t, *lsn + kLeadInFrames, audio});
    }
    const std::optional<int> leadout = device.trackLsn(CdDevice::kLeadoutTrack);
    if (!leadout || *leadout + kLeadInFrames <= toc.tracks.back().startFrame) {
        *why = "the last track has no length";
        return std::nullopt;
    }
    toc.leadoutFrame = *leadout + kLeadInFrames;
    toc.text = device.cdText();
    if (toc.text.trackTitles.size() > toc.tracks.size()) toc.text.trackTitles.resize(toc.tracks.size());
    return toc;
}

// What plays of [from, end): the audio tracks only, so playback ends before a trailing
// data track and steps over one in the middle.
std::vector<PlaySpan> audioSpans(const DiscToc& toc, int from, int end) {
    std::vector<PlaySpan> spans;
    for (const TocTrack& t : toc.tracks) {
        if (!t.audio) continue;
        const int a = std::max(from, t.startFrame);
        const int b = std::min(end, toc.trackEnd(t.number));
        if (a < b) spans.push_back({a, b});
    }
    return spans;
}

std::string withLog(std::string text) {
    const std::string log = takeCdioLogMessage();
    if (!log.empty()) text += " (" + log + ")";
    return text;
}

// libcdio looks for the data files a cdrdao .toc names relative to the current folder,
// not the .toc's own. Hand it a copy whose file names are absolute.
std::string resolvedTocCopy(const QString& tocPath, const QTemporaryDir& dir) {
    const RegularFile in = readRegularFile(tocPath);
    if (!in.read() || !dir.isValid()) return QFile::encodeName(tocPath).toStdString();
    const QString folder = QFileInfo(tocPath).absolutePath();
    static const QRegularExpression fileLine(
        QStringLiteral(R"re(^(\s*(?:FILE|AUDIOFILE|DATAFILE)\s+")([^"/][^"]*)")re"),
        QRegularExpression::MultilineOption);
    QString text = QString::fromUtf8(in.bytes);
    text.replace(fileLine, QStringLiteral("\\1") + folder + QStringLiteral("/\\2\""));
    const QString copy = dir.path() + QStringLiteral("/image.toc");
    QFile out(copy);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QFile::encodeName(tocPath).toStdString();
    out.write(text.toUtf8());
    return QFile::encodeName(copy).toStdString();
}

class CdioDrive final : public CdDrive {
public:
    CdioDrive(QString path, Kind kind, std::shared_ptr<CdDevice> device, bool cdrdao, std::shared_ptr<Clock> clock,
              CdioDriveOptions options)
        : path_(std::move(path)),
          pathBytes_(QFile::encodeName(path_).toStdString()),
          kind_(kind),
          cdrdao_(cdrdao),
          io_(std::make_shared<CdioHandle>(std::move(device))),
          clock_(clock ? std::move(clock) : std::make_shared<SteadyClock>()),
          options_(std::move(options)) {
        if (!options_.analog) {
            engine_ = std::make_unique<PlaybackEngine>(options_.pcm, clock_);
            if (options_.observer) engine_->setOutputObserver(options_.observer);
        }
    }

    ~CdioDrive() override {
        engine_.reset();  // joins the threads before the handle goes
        if (pendingEject_.valid()) pendingEject_.wait();
        if (options_.analog && io_->device->isOpen()) io_->device->audio(CdDevice::AudioCall::Stop);
    }

    bool start(QString* error, bool permissionDenied) {
        if (permissionDenied) {
            std::lock_guard lock(mu_);
            permissionDenied_ = true;
            detail_ = permissionText();
            lastProbeMs_ = clock_->nowMs();
            return true;
        }
        std::lock_guard io(io_->mutex);
        std::string why;
        const bool opened = reopenLocked(&why);
        if (!opened) {
            if (error) *error = QStringLiteral("%1 cannot be opened: %2").arg(path_, QString::fromStdString(why));
            return false;
        }
        if (kind_ == Kind::Image) {
            std::lock_guard lock(mu_);
            if (!toc_) {
                if (error) *error = QStringLiteral("%1 cannot be read: %2").arg(path_, QString::fromStdString(why));
                return false;
            }
            if (const std::string bad = unreadableTrackLocked(*toc_); !bad.empty()) {
                if (error) *error = QStringLiteral("%1: %2").arg(path_, QString::fromStdString(bad));
                return false;
            }
        }
        return true;
    }

    DriveStatus status() override {
        refreshMedia();
        DriveStatus s;
        {
            std::lock_guard lock(mu_);
            if (!toc_) {
                s.mode = doorOpen_ && !permissionDenied_ ? DriveMode::Open : DriveMode::NotReady;
                return s;
            }
        }
        s.mediaPresent = true;
        if (options_.analog) {
            analogStatus(&s);
            return s;
        }
        const EngineSnapshot e = engine_->snapshot();
        s.mode = e.state == EngineState::Playing  ? DriveMode::Playing
                 : e.state == EngineState::Paused ? DriveMode::Paused
                                                  : DriveMode::Stopped;
        s.positionFrame = e.positionFrame;
        if (e.error != DriveError::None) {
            const std::string why = engine_->lastError();
            std::lock_guard lock(mu_);
            if (why != engineDetailSeen_) detail_ = engineDetailSeen_ = why;
        }
        return s;
    }

    std::optional<DiscToc> toc() override {
        refreshMedia();
        std::lock_guard lock(mu_);
        return toc_;
    }

    DriveError play(int fromFrame, int endFrame) override {
        if (kind_ == Kind::Image) reopenAfterReadFailure();
        std::optional<DiscToc> toc;
        if (DriveError e = requireDisc(&toc); e != DriveError::None) return e;
        if (fromFrame < 0 || endFrame > toc->leadoutFrame || fromFrame > endFrame)
            return fail(DriveError::OutOfRange, "The position is outside the disc");
        if (options_.analog) return analogPlay(fromFrame, endFrame);
        const std::vector<PlaySpan> spans = audioSpans(*toc, fromFrame, endFrame);
        if (spans.empty()) {
            engine_->stop(fromFrame);
            return DriveError::None;
        }
        const DriveError e = engine_->play(spans, readerForPlay());
        return e == DriveError::None ? e : fail(e, engine_->lastError());
    }

    DriveError pause() override {
        if (DriveError e = requireDisc(nullptr); e != DriveError::None) return e;
        if (options_.analog) return analogCall(CdDevice::AudioCall::Pause, "pause");
        return engine_->pause();
    }

    DriveError resume() override {
        if (DriveError e = requireDisc(nullptr); e != DriveError::None) return e;
        if (options_.analog) return analogCall(CdDevice::AudioCall::Resume, "resume");
        const DriveError e = engine_->resume();
        return e == DriveError::None ? e : fail(e, engine_->lastError());
    }

    DriveError stop() override {
        std::optional<DiscToc> toc;
        {
            std::lock_guard lock(mu_);
            toc = toc_;
        }
        const int start = toc ? toc->tracks.front().startFrame : kLeadInFrames;
        if (!toc) return requireDisc(nullptr);
        if (options_.analog) {
            analogCall(CdDevice::AudioCall::Stop, "stop");
            std::lock_guard lock(mu_);
            analogHead_ = start;
            return DriveError::None;
        }
        engine_->stop(start);
        return DriveError::None;
    }

    DriveError seek(int frame) override {
        std::optional<DiscToc> toc;
        if (DriveError e = requireDisc(&toc); e != DriveError::None) return e;
        if (frame < 0 || frame > toc->leadoutFrame)
            return fail(DriveError::OutOfRange, "The position is outside the disc");
        if (options_.analog) {
            analogCall(CdDevice::AudioCall::Stop, "stop");
            std::lock_guard lock(mu_);
            analogHead_ = frame;
            return DriveError::None;
        }
        engine_->stop(frame);
        return DriveError::None;
    }

    DriveError setDoorOpen(bool open) override {
        {
            std::lock_guard lock(mu_);
            if (permissionDenied_) return DriveError::NoPermission;
        }
        std::lock_guard tray(trayMu_);
        if (engine_) engine_->stop(kLeadInFrames);
        if (kind_ == Kind::Image) {
            std::lock_guard io(io_->mutex);
            // libcdio's eject frees an image's data; the tray of an image is ours alone.
            if (open) {
                dropHandleLocked();
                std::lock_guard lock(mu_);
                doorOpen_ = true;
                toc_.reset();
                return DriveError::None;
            }
            {
                std::lock_guard lock(mu_);
                doorOpen_ = false;
            }
            std::string why;
            if (!reopenLocked(&why) || !hasToc())
                return fail(DriveError::NotReady, path_.toStdString() + " cannot be read: " + why);
            return DriveError::None;
        }
        if (open) {
            {
                std::lock_guard lock(mu_);
                if (ejectPending_) return DriveError::None;
            }
            ++io_->version;  // a read under way gives up at its next sector
            std::unique_lock io(io_->mutex, std::try_to_lock);
            // Polled rather than a timed lock, which the thread sanitizer cannot follow.
            for (const auto until = std::chrono::steady_clock::now() + kEjectWait;
                 !io.owns_lock() && std::chrono::steady_clock::now() < until;) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                io.try_lock();
            }
            if (io.owns_lock()) return ejectLocked();
            // Still inside a read (a sector being retried): the tray shows open at once and
            // opens as soon as the read lets go. Should the drive refuse then, the disc
            // shows again with the reason.
            {
                std::lock_guard lock(mu_);
                doorOpen_ = true;
                toc_.reset();
                ejectPending_ = true;
            }
            pendingEject_ = std::async(std::launch::async, [this] {
                std::lock_guard late(io_->mutex);
                ejectLocked();
                std::lock_guard lock(mu_);
                ejectPending_ = false;
            });
            return DriveError::None;
        }
        if (pendingEject_.valid()) pendingEject_.wait();
        std::lock_guard io(io_->mutex);
        const CdDevice::Result rc = io_->device->closeTray();
        if (rc != CdDevice::Result::Ok)
            fail(errorOf(rc), withLog("The drive cannot pull its tray in; push it in by hand"));
        std::string why;
        reopenLocked(&why);
        {
            std::lock_guard lock(mu_);
            doorOpen_ = false;
        }
        return rc == CdDevice::Result::Ok ? DriveError::None : errorOf(rc);
    }

    std::string lastErrorDetail() const override {
        std::lock_guard lock(mu_);
        return detail_;
    }

    std::string takePlaybackFailure() override {
        if (!engine_) return {};
        const EngineFailure failure = engine_->failure();
        std::lock_guard lock(mu_);
        if (failure.count == failuresTold_) return {};
        failuresTold_ = failure.count;
        // A disc taken out ends playback too; the drive shows itself empty.
        return failure.error == DriveError::NotReady ? std::string() : failure.detail;
    }

private:
    std::string permissionText() const {
        std::string text = "No permission to read " + pathBytes_;
        struct stat st {};
        if (::stat(pathBytes_.c_str(), &st) == 0) {
            if (const group* g = ::getgrgid(st.st_gid))
                text += std::string(": the drive belongs to the group \"") + g->gr_name +
                        "\"; add your user to it and log in again";
        }
        return text;
    }

    DriveError fail(DriveError error, const std::string& detail) {
        std::lock_guard lock(mu_);
        detail_ = detail;
        return error;
    }

    bool hasToc() const {
        std::lock_guard lock(mu_);
        return toc_.has_value();
    }

    DriveError requireDisc(std::optional<DiscToc>* toc) {
        std::lock_guard lock(mu_);
        if (permissionDenied_) {
            detail_ = permissionText();
            return DriveError::NoPermission;
        }
        if (!toc_) {
            detail_ = doorOpen_ ? "The tray is open" : "There is no disc in the drive";
            return DriveError::NotReady;
        }
        if (toc) *toc = toc_;
        return DriveError::None;
    }

    // An image whose data could not be read is opened afresh, so that a data file put
    // back in its place plays; the head stays where it was when the disc is the same.
    void reopenAfterReadFailure() {
        std::lock_guard io(io_->mutex);
        if (!io_->readFailed) return;
        std::string why;
        reopenLocked(&why);
    }

    // io_->mutex held.
    void dropHandleLocked() {
        {
            std::lock_guard lock(mu_);
            reader_.reset();
        }
        io_->device->close();
        ++io_->version;
    }

    // io_->mutex held.
    DriveError ejectLocked() {
        if (options_.analog && io_->device->isOpen()) io_->device->audio(CdDevice::AudioCall::Stop);
        // Our own descriptor would make the kernel refuse the eject as busy.
        dropHandleLocked();
        const CdDevice::Result rc = io_->device->eject();
        if (rc != CdDevice::Result::Ok) {
            // The reason first: the reopen clears libcdio's words, and shows the disc again.
            fail(errorOf(rc), withLog("The drive did not open its tray (is the disc mounted?)"));
            std::string why;
            reopenLocked(&why);
            std::lock_guard lock(mu_);
            doorOpen_ = false;
            return errorOf(rc);
        }
        std::lock_guard lock(mu_);
        doorOpen_ = true;
        toc_.reset();
        return DriveError::None;
    }

    // io_->mutex held. Opens the handle afresh (libcdio keeps the table of contents it
    // read first, so a new disc needs a new handle) and reads the table of contents.
    // False when the handle itself cannot be opened.
    bool reopenLocked(std::string* why) {
        dropHandleLocked();
        takeCdioLogMessage();
        const std::string openPath = cdrdao_ ? resolvedTocCopy(path_, tocCopyDir_) : pathBytes_;
        CdDevice& device = *io_->device;
        io_->changeSeen = false;
        io_->readFailed = false;
        const bool opened = device.open(openPath);
        std::optional<DiscToc> toc;
        if (!opened) {
            *why = withLog("libcdio cannot open it");
            // Name the user's file, not our resolved copy of it.
            for (std::size_t at; openPath != pathBytes_ && (at = why->find(openPath)) != std::string::npos;)
                why->replace(at, openPath.size(), pathBytes_);
        } else {
            toc = readToc(device, why);
            takeCdioLogMessage();
        }
        bool changed = false;
        {
            std::lock_guard lock(mu_);
            changed = !sameToc(toc, toc_);
            toc_ = toc;
            lastProbeMs_ = clock_->nowMs();
            reader_.reset();
        }
        if (changed && engine_) engine_->stop(toc ? toc->tracks.front().startFrame : kLeadInFrames);
        if (changed && options_.analog) {
            std::lock_guard lock(mu_);
            analogHead_ = toc ? toc->tracks.front().startFrame : kLeadInFrames;
        }
        return opened;
    }

    // io_->mutex held. An image whose data ends early reads as noise or fails mid-play;
    // find out now.
    std::string unreadableTrackLocked(const DiscToc& toc) {
        std::vector<std::uint8_t> sector(kSectorBytes);
        for (const TocTrack& t : toc.tracks) {
            if (!t.audio) continue;
            const int last = toc.trackEnd(t.number) - 1;
            for (int frame : {t.startFrame, last}) {
                if (!io_->device->readSectors(frame - kLeadInFrames, 1, sector.data()))
                    return "track " + std::to_string(t.number) +
                           " cannot be read: the data file is shorter than the table of contents says";
            }
        }
        return {};
    }

    // Notices a disc change on a real drive: a media-changed query at most every
    // kMediaCheckMs, a new handle and table of contents only when something changed.
    void refreshMedia() {
        if (kind_ == Kind::Image) return;
        std::unique_lock io(io_->mutex, std::try_to_lock);
        if (!io.owns_lock()) return;  // a read is under way, so the disc is there
        const std::int64_t now = clock_->nowMs();
        CdDevice& device = *io_->device;
        // A reader that found the disc gone has read the media-changed flag already.
        bool probe = std::exchange(io_->changeSeen, false);
        {
            std::lock_guard lock(mu_);
            if (ejectPending_) return;  // the tray is on its way out
            if (permissionDenied_) {
                if (now - lastProbeMs_ < kEmptyDriveProbeMs) return;
                lastProbeMs_ = now;
                const int fd = ::open(pathBytes_.c_str(), O_RDONLY | O_NONBLOCK);
                if (fd < 0) return;
                ::close(fd);
                permissionDenied_ = false;
                detail_.clear();
                probe = true;
            }
            probe = probe || (!toc_ && now - lastProbeMs_ >= kEmptyDriveProbeMs);
        }
        if (!probe && device.isOpen()) {
            bool due = false;
            {
                std::lock_guard lock(mu_);
                due = now - lastMediaCheckMs_ >= kMediaCheckMs;
                if (due) lastMediaCheckMs_ = now;
            }
            if (due) probe = device.mediaChanged() == 1;
        }
        if (!probe && !device.isOpen()) {
            std::lock_guard lock(mu_);
            probe = now - lastProbeMs_ >= kEmptyDriveProbeMs;
        }
        if (!probe) return;
        std::string why;
        reopenLocked(&why);
        // Empty: tell an open tray from a closed, empty one, as the mode differs.
        const int tray = hasToc() ? 0 : (device.isOpen() ? device.trayStatus() : -1);
        if (tray == 0 || tray == 1) {
            std::lock_guard lock(mu_);
            doorOpen_ = tray == 1;
        }
    }

    std::shared_ptr<SectorReader> readerForPlay() {
        std::lock_guard lock(mu_);
        if (!reader_) {
            reader_ = kind_ == Kind::Device ? makeParanoiaReader(io_, options_.readSpeed)
                                            : makeImageReader(io_, QFileInfo(path_).fileName().toStdString());
        }
        return reader_;
    }

    // Analog playback: the drive plays through its own line-out; libcdio's audio calls.
    DriveError analogPlay(int from, int end) {
        if (kind_ == Kind::Image)
            return fail(DriveError::Unsupported, "A disc image has no analog output; use digital playback");
        std::lock_guard io(io_->mutex);
        if (!io_->device->isOpen()) return fail(DriveError::NotReady, "There is no disc in the drive");
        const CdDevice::Result rc = io_->device->audioPlay(from - kLeadInFrames, end - kLeadInFrames);
        if (rc != CdDevice::Result::Ok)
            return fail(errorOf(rc), withLog("The drive refused to play through its own output"));
        std::lock_guard lock(mu_);
        analogHead_ = from;
        return DriveError::None;
    }

    DriveError analogCall(CdDevice::AudioCall call, const char* what) {
        if (kind_ == Kind::Image)
            return fail(DriveError::Unsupported, "A disc image has no analog output; use digital playback");
        std::lock_guard io(io_->mutex);
        if (!io_->device->isOpen()) return fail(DriveError::NotReady, "There is no disc in the drive");
        const CdDevice::Result rc = io_->device->audio(call);
        if (rc != CdDevice::Result::Ok) return fail(errorOf(rc), withLog(std::string("The drive could not ") + what));
        return DriveError::None;
    }

    void analogStatus(DriveStatus* s) {
        std::lock_guard io(io_->mutex);
        s->mode = DriveMode::Stopped;
        CdDevice::AudioState state = CdDevice::AudioState::Stopped;
        int frame = 0;
        if (kind_ == Kind::Device && io_->device->audioStatus(&state, &frame)) {
            if (state == CdDevice::AudioState::Playing) s->mode = DriveMode::Playing;
            if (state == CdDevice::AudioState::Paused) s->mode = DriveMode::Paused;
            if (s->mode != DriveMode::Stopped) {
                std::lock_guard lock(mu_);
                analogHead_ = frame;
            }
        }
        std::lock_guard lock(mu_);
        s->positionFrame = analogHead_;
    }

    const QString path_;
    const std::string pathBytes_;
    const Kind kind_;
    const bool cdrdao_;  // a cdrdao .toc: opened through a copy with absolute file names
    const std::shared_ptr<CdioHandle> io_;
    const std::shared_ptr<Clock> clock_;
    const CdioDriveOptions options_;
    const QTemporaryDir tocCopyDir_;
    std::unique_ptr<PlaybackEngine> engine_;
    std::mutex trayMu_;               // one tray command at a time
    std::future<void> pendingEject_;  // under trayMu_

    // Lock order: trayMu_, io_->mutex, then mu_; the engine's own lock is never held
    // around any of them.
    mutable std::mutex mu_;
    std::optional<DiscToc> toc_;
    bool doorOpen_ = false;
    bool permissionDenied_ = false;
    bool ejectPending_ = false;
    std::int64_t lastProbeMs_ = 0;
    std::int64_t lastMediaCheckMs_ = INT64_MIN / 2;
    std::string detail_;
    std::string engineDetailSeen_;
    unsigned failuresTold_ = 0;
    std::shared_ptr<SectorReader> reader_;
    int analogHead_ = kLeadInFrames;
};

}  // namespace

CdioDriveOptions CdioDriveOptions::fromEnvironment() {
    CdioDriveOptions options;
    options.pcm = PcmTarget::fromEnvironment();
    options.analog =
        qEnvironmentVariable("VELMORA_PLAYBACK").trimmed().compare(QLatin1String("analog"), Qt::CaseInsensitive) == 0;
    return options;
}

std::shared_ptr<CdDrive> openCdioDrive(const QString& path, std::shared_ptr<Clock> clock, QString* error) {
    return openCdioDrive(path, std::move(clock), error, CdioDriveOptions::fromEnvironment());
}

std::shared_ptr<CdDrive> openCdioDrive(const QString& path, std::shared_ptr<Clock> clock, QString* error,
                                       const CdioDriveOptions& options) {
    installCdioLogCapture();
    auto failWith = [&](const QString& text) -> std::shared_ptr<CdDrive> {
        if (error) *error = text;
        return nullptr;
    };
    if (path.isEmpty()) return failWith(QStringLiteral("No drive or disc image was named"));
    const QString suffix = QFileInfo(path).suffix().toLower();
    Kind kind = Kind::Device;
    CdioSource source = CdioSource::Device;
    bool permissionDenied = false;
    if (suffix == QLatin1String("cue") || suffix == QLatin1String("toc")) {
        kind = Kind::Image;
        source = suffix == QLatin1String("cue") ? CdioSource::BinCue : CdioSource::Cdrdao;
        const QString bad = suffix == QLatin1String("cue") ? checkCueSheet(path) : checkTocFile(path);
        if (!bad.isEmpty()) return failWith(bad);
    } else {
        const std::string bytes = QFile::encodeName(path).toStdString();
        struct stat st {};
        if (::stat(bytes.c_str(), &st) != 0)
            return failWith(QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        if (!S_ISBLK(st.st_mode) && !S_ISCHR(st.st_mode))
            return failWith(QStringLiteral("%1 is neither a CD drive nor a disc image (.cue, .toc)").arg(path));
        // The way libcdio opens it: non-blocking, so an open tray or an audio disc is no error.
        const int fd = ::open(bytes.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0 && (errno == EACCES || errno == EPERM)) {
            permissionDenied = true;
        } else if (fd < 0) {
            return failWith(QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        } else {
            ::close(fd);
        }
    }
    auto device = makeCdioDevice(QFile::encodeName(path).toStdString(), source);
    auto drive = std::make_shared<CdioDrive>(path, kind, std::move(device), source == CdioSource::Cdrdao,
                                             std::move(clock), options);
    QString why;
    if (!drive->start(&why, permissionDenied)) return failWith(why);
    if (error) error->clear();
    return drive;
}

std::shared_ptr<CdDrive> openCdDevice(const QString& path, std::shared_ptr<CdDevice> device,
                                      std::shared_ptr<Clock> clock, QString* error, const CdioDriveOptions& options) {
    auto drive = std::make_shared<CdioDrive>(path, Kind::Device, std::move(device), false, std::move(clock), options);
    QString why;
    if (!drive->start(&why, false)) {
        if (error) *error = why;
        return nullptr;
    }
    if (error) error->clear();
    return drive;
}

std::optional<QString> firstCdDrive() {
    installCdioLogCapture();
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    std::optional<QString> first;
    if (devices && devices[0]) first = QFile::decodeName(devices[0]);
    if (devices) cdio_free_device_list(devices);
    return first;
}

}  // namespace velmora
