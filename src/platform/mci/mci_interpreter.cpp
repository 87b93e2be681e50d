#include "platform/mci/mci_interpreter.h"

#include "shared/units.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace velmora {

namespace {

using std::string_view;

enum class TimeFormat { Msf, Tmsf, Milliseconds };

constexpr int kFramesPerMinute = 60 * kFramesPerSecond;

// Commands are short; a string with more words than this is garbage, not a command.
constexpr int kMaxTokens = 32;

struct Tokens {
    std::array<string_view, kMaxTokens> word;
    int count = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits a lower-cased command into words; a double-quoted word may hold blanks.
int tokenize(string_view text, Tokens& out) {
    out.count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        if (out.count == kMaxTokens) return MciError::UnrecognizedKeyword;
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == string_view::npos) return MciError::NoClosingQuote;
            if (close + 1 < text.size() && !isBlank(text[close + 1])) return MciError::ExtraCharacters;
            out.word[out.count++] = text.substr(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isBlank(text[end])) ++end;
        out.word[out.count++] = text.substr(i, end - i);
        i = end;
    }
    return 0;
}

// The platform's integer form: up to four colon-separated fields packed low byte first
// ("3:1:20" is 3 | 1<<8 | 20<<16), each field below 256; a lone number may be negative
// and is then taken as its 32-bit two's complement.
bool parseDword(string_view s, std::uint32_t& out) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && s[i] == '-') {
        negative = true;
        ++i;
    }
    bool digits = false;
    std::uint64_t total = 0;
    unsigned shift = 0;
    std::uint64_t value = 0;
    for (;;) {
        value = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            value = value * 10 + static_cast<unsigned>(s[i] - '0');
            if (value > 0xFFFFFFFFull) return false;
            digits = true;
            ++i;
        }
        if (i == s.size()) break;
        if (s[i] != ':') return false;
        if (value >= 256 || shift >= 24) return false;
        total |= value << shift;
        shift += 8;
        ++i;
    }
    if (!digits) return false;
    if (shift != 0 && (value >= 256 || negative)) return false;
    total |= value << shift;
    const auto bits = static_cast<std::uint32_t>(total);
    out = negative ? static_cast<std::uint32_t>(0u - bits) : bits;
    return true;
}

int mapDriveError(DriveError error) {
    switch (error) {
    case DriveError::None:
        return 0;
    case DriveError::NotReady:
        return MciError::DeviceNotReady;
    case DriveError::OutOfRange:
        return MciError::OutOfRange;
    case DriveError::Hardware:
    case DriveError::NoPermission:
    case DriveError::NoSoundDevice:
        return MciError::Hardware;
    case DriveError::Unsupported:
        return MciError::UnsupportedFunction;
    case DriveError::Internal:
        return MciError::DriverInternal;
    }
    return MciError::DriverInternal;
}

const char* modeWord(DriveMode mode) {
    switch (mode) {
    case DriveMode::NotReady:
        return "not ready";
    case DriveMode::Open:
        return "open";
    case DriveMode::Stopped:
        return "stopped";
    case DriveMode::Playing:
        return "playing";
    case DriveMode::Paused:
        return "paused";
    case DriveMode::Seeking:
        return "seeking";
    }
    return "not ready";
}

const char* formatWord(TimeFormat format) {
    switch (format) {
    case TimeFormat::Msf:
        return "msf";
    case TimeFormat::Tmsf:
        return "tmsf";
    case TimeFormat::Milliseconds:
        return "milliseconds";
    }
    return "msf";
}

// The last track that starts at or before `frame` (the first track for the lead-in).
const TocTrack& trackAt(const DiscToc& toc, int frame) {
    const TocTrack* found = &toc.tracks.front();
    for (const auto& t : toc.tracks) {
        if (t.startFrame > frame) break;
        found = &t;
    }
    return *found;
}

std::int64_t framesToMs(std::int64_t frames) { return frames * 1000 / kFramesPerSecond + 1; }

int lastPlayableFrame(const DiscToc& toc) { return toc.leadoutFrame - 1; }

// Where a play without "to" stops: one frame before the end of the last audio track,
// so that trailing data tracks are never played.
int defaultPlayEnd(const DiscToc& toc) {
    for (auto it = toc.tracks.rbegin(); it != toc.tracks.rend(); ++it)
        if (it->audio) return toc.trackEnd(it->number) - 1;
    return lastPlayableFrame(toc);
}

struct Reply {
    char text[48];
    int length = 0;

    void set(const char* s) {
        const std::size_t n = std::min(std::strlen(s), sizeof text - 1);
        std::memcpy(text, s, n);
        text[n] = '\0';
        length = static_cast<int>(n);
    }
    void number(std::int64_t value) {
        length = std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    }
    void msf(int frame) {
        length = std::snprintf(text, sizeof text, "%02d:%02d:%02d", frame / kFramesPerMinute,
                               frame / kFramesPerSecond % 60, frame % kFramesPerSecond);
    }
    void tmsf(int track, int offset) {
        length = std::snprintf(text, sizeof text, "%02d:%02d:%02d:%02d", track, offset / kFramesPerMinute,
                               offset / kFramesPerSecond % 60, offset % kFramesPerSecond);
    }
};

struct Device {
    std::string alias;
    int id = 0;
    bool shareable = false;
    TimeFormat format = TimeFormat::Msf;
};

enum class Verb { Unknown, Open, Close, Status, Set, Play, Pause, Resume, Stop, Seek, Unsupported };

Verb verbOf(string_view word) {
    static constexpr std::pair<string_view, Verb> kVerbs[] = {
        {"status", Verb::Status},
        {"play", Verb::Play},
        {"seek", Verb::Seek},
        {"set", Verb::Set},
        {"pause", Verb::Pause},
        {"stop", Verb::Stop},
        {"resume", Verb::Resume},
        {"open", Verb::Open},
        {"close", Verb::Close},
        // Verbs of the command language that a CD audio device has no use for.
        {"info", Verb::Unsupported},
        {"capability", Verb::Unsupported},
        {"cue", Verb::Unsupported},
        {"record", Verb::Unsupported},
        {"save", Verb::Unsupported},
        {"load", Verb::Unsupported},
        {"spin", Verb::Unsupported},
        {"step", Verb::Unsupported},
    };
    for (const auto& [name, verb] : kVerbs)
        if (name == word) return verb;
    return Verb::Unknown;
}

}  // namespace

struct MciInterpreter::Impl {
    DriveOpener opener;
    std::mutex mutex;
    std::shared_ptr<CdDrive> drive;
    std::vector<Device> devices;
    std::string lowered;  // reused so that a query does not allocate
    Tokens tokens;
    Reply reply;
    int replyCapacity = 0;  // 0: the caller discards the reply

    int execute(string_view command);
    int open();
    int close();
    int status(Device& device);
    int set(Device& device);
    int play(Device& device);
    int pause();
    int resume();
    int stop();
    int seek(Device& device);

    Device* find(string_view alias) {
        for (auto& d : devices)
            if (d.alias == alias) return &d;
        return nullptr;
    }
    string_view word(int i) const { return i < tokens.count ? tokens.word[i] : string_view(); }
    bool noMoreWords(int i) const { return i >= tokens.count; }
    void releaseDriveIfUnused();
    // A position given in the device's time format, as an absolute frame.
    int toFrame(std::uint32_t value, TimeFormat format, const DiscToc& toc, int& frame) const;
    void replyPosition(int frame, TimeFormat format, const DiscToc& toc);
};

MciInterpreter::MciInterpreter(DriveOpener openDrive) : impl_(std::make_unique<Impl>()) {
    impl_->opener = std::move(openDrive);
    impl_->lowered.reserve(256);
}

MciInterpreter::~MciInterpreter() {
    if (impl_->drive && !impl_->devices.empty()) impl_->drive->stop();
}

DiscText MciInterpreter::discText() {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->drive) return {};
    const std::optional<DiscToc> toc = impl_->drive->toc();
    return toc ? toc->text : DiscText{};
}

std::string MciInterpreter::takePlaybackFailure() {
    std::lock_guard lock(impl_->mutex);
    return impl_->drive ? impl_->drive->takePlaybackFailure() : std::string();
}

int MciInterpreter::sendString(const std::string& command, char* buffer, int bufferLength) {
    const bool wantsReply = buffer != nullptr && bufferLength > 0;
    if (wantsReply) buffer[0] = '\0';

    std::lock_guard lock(impl_->mutex);
    impl_->reply.length = 0;
    impl_->replyCapacity = wantsReply ? bufferLength : 0;
    // The platform call takes a C string: the command ends at the first NUL.
    string_view text(command.c_str());
    const int code = impl_->execute(text);
    if (code != 0 || !wantsReply || impl_->reply.length == 0) return code;
    if (impl_->reply.length + 1 > bufferLength) return MciError::ParamOverflow;
    std::memcpy(buffer, impl_->reply.text, static_cast<std::size_t>(impl_->reply.length) + 1);
    return 0;
}

int MciInterpreter::Impl::execute(string_view command) {
    lowered.assign(command);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (const int error = tokenize(lowered, tokens)) return error;
    if (tokens.count == 0) return MciError::MissingCommandString;

    const Verb verb = verbOf(tokens.word[0]);
    if (verb == Verb::Unknown) return MciError::UnrecognizedCommand;
    if (tokens.count < 2) return MciError::MissingDeviceName;

    // "wait", "notify" and "test" only shape how the call returns: every call here
    // completes before it returns and nobody is notified.
    int kept = 2;
    for (int i = 2; i < tokens.count; ++i) {
        const string_view w = tokens.word[i];
        if (w == "wait" || w == "notify" || w == "test") continue;
        tokens.word[kept++] = w;
    }
    tokens.count = kept;

    if (verb == Verb::Open) return open();
    if (verb == Verb::Close) return close();
    if (tokens.word[1] == "all") return MciError::CannotUseAll;
    Device* device = find(tokens.word[1]);
    if (!device) return MciError::InvalidDeviceName;

    switch (verb) {
    case Verb::Status:
        return status(*device);
    case Verb::Set:
        return set(*device);
    case Verb::Play:
        return play(*device);
    case Verb::Pause:
        return noMoreWords(2) ? pause() : MciError::UnrecognizedKeyword;
    case Verb::Resume:
        return noMoreWords(2) ? resume() : MciError::UnrecognizedKeyword;
    case Verb::Stop:
        return noMoreWords(2) ? stop() : MciError::UnrecognizedKeyword;
    case Verb::Seek:
        return seek(*device);
    case Verb::Unsupported:
        return MciError::UnsupportedFunction;
    default:
        return MciError::UnrecognizedCommand;
    }
}

int MciInterpreter::Impl::open() {
    const string_view name = tokens.word[1];
    string_view alias;
    string_view type;
    bool hasAlias = false;
    bool hasType = false;
    bool shareable = false;
    for (int i = 2; i < tokens.count; ++i) {
        const string_view w = tokens.word[i];
        if (w == "alias" || w == "type") {
            if (noMoreWords(i + 1)) return MciError::MissingParameter;
            (w == "alias" ? alias : type) = tokens.word[++i];
            (w == "alias" ? hasAlias : hasType) = true;
        } else if (w == "shareable") {
            shareable = true;
        } else {
            return MciError::UnrecognizedKeyword;
        }
    }
    // "open cdaudio ..." or "open <element> type cdaudio ...".
    if ((hasType ? type : name) != "cdaudio") return MciError::InvalidDeviceName;
    if (!hasAlias) alias = name;
    if (alias.empty() || alias == "all") return MciError::BadConstant;
    if (find(alias)) return hasAlias ? MciError::DuplicateAlias : MciError::DeviceOpen;
    if (!devices.empty()) {
        const bool othersShare =
            std::all_of(devices.begin(), devices.end(), [](const Device& d) { return d.shareable; });
        if (!shareable || !othersShare) return MciError::MustUseShareable;
    }

    int id = 1;
    while (std::any_of(devices.begin(), devices.end(), [id](const Device& d) { return d.id == id; })) ++id;
    reply.number(id);
    // A reply that cannot be delivered fails the whole open, so no device is left behind
    // that the caller does not know about.
    if (replyCapacity > 0 && reply.length + 1 > replyCapacity) return MciError::ParamOverflow;

    if (!drive) {
        drive = opener ? opener() : nullptr;
        if (!drive) {
            reply.length = 0;
            return MciError::CannotLoadDriver;
        }
    }
    devices.push_back({std::string(alias), id, shareable, TimeFormat::Msf});
    return 0;
}

void MciInterpreter::Impl::releaseDriveIfUnused() {
    if (!devices.empty() || !drive) return;
    // Closing the device ends its playback, as the platform's driver does.
    drive->stop();
    drive.reset();
}

int MciInterpreter::Impl::close() {
    if (!noMoreWords(2)) return MciError::UnrecognizedKeyword;
    if (tokens.word[1] == "all") {
        devices.clear();
        releaseDriveIfUnused();
        return 0;
    }
    const auto it =
        std::find_if(devices.begin(), devices.end(), [&](const Device& d) { return d.alias == tokens.word[1]; });
    if (it == devices.end()) return MciError::InvalidDeviceName;
    devices.erase(it);
    releaseDriveIfUnused();
    return 0;
}

int MciInterpreter::Impl::toFrame(std::uint32_t value, TimeFormat format, const DiscToc& toc, int& frame) const {
    const int b0 = static_cast<int>(value & 0xFF);
    const int b1 = static_cast<int>((value >> 8) & 0xFF);
    const int b2 = static_cast<int>((value >> 16) & 0xFF);
    const int b3 = static_cast<int>((value >> 24) & 0xFF);
    switch (format) {
    case TimeFormat::Msf:
        if (b1 > 59 || b2 >= kFramesPerSecond || b3 != 0) return MciError::OutOfRange;
        frame = b0 * kFramesPerMinute + b1 * kFramesPerSecond + b2;
        return 0;
    case TimeFormat::Tmsf: {
        const TocTrack* track = toc.track(b0);
        if (!track || b2 > 59 || b3 >= kFramesPerSecond) return MciError::OutOfRange;
        frame = track->startFrame + b1 * kFramesPerMinute + b2 * kFramesPerSecond + b3;
        return 0;
    }
    case TimeFormat::Milliseconds: {
        const std::int64_t f = (static_cast<std::int64_t>(value) - 1) * kFramesPerSecond + 500;
        const std::int64_t frames = std::max<std::int64_t>(0, f / 1000);
        if (frames > toc.leadoutFrame) return MciError::OutOfRange;
        frame = static_cast<int>(frames);
        return 0;
    }
    }
    return MciError::OutOfRange;
}

void MciInterpreter::Impl::replyPosition(int frame, TimeFormat format, const DiscToc& toc) {
    switch (format) {
    case TimeFormat::Msf:
        reply.msf(frame);
        break;
    case TimeFormat::Milliseconds:
        reply.number(framesToMs(frame));
        break;
    case TimeFormat::Tmsf: {
        const TocTrack& track = trackAt(toc, frame);
        reply.tmsf(track.number, std::max(0, frame - track.startFrame));
        break;
    }
    }
}

int MciInterpreter::Impl::status(Device& device) {
    enum class Item { None, Mode, MediaPresent, Ready, Format, Tracks, CurrentTrack, Length, Position, Type };
    Item item = Item::None;
    bool start = false;
    bool hasTrack = false;
    std::uint32_t trackNumber = 0;

    for (int i = 2; i < tokens.count; ++i) {
        const string_view w = tokens.word[i];
        Item found = Item::None;
        if (w == "track") {
            if (noMoreWords(i + 1)) return MciError::MissingParameter;
            if (!parseDword(tokens.word[++i], trackNumber)) return MciError::BadInteger;
            hasTrack = true;
            continue;
        }
        if (w == "start") {
            start = true;
            continue;
        }
        if (w == "mode") found = Item::Mode;
        else if (w == "ready") found = Item::Ready;
        else if (w == "length") found = Item::Length;
        else if (w == "position") found = Item::Position;
        else if (w == "type") found = Item::Type;
        else if (w == "media" && word(i + 1) == "present") found = Item::MediaPresent, ++i;
        else if (w == "time" && word(i + 1) == "format") found = Item::Format, ++i;
        else if (w == "current" && word(i + 1) == "track") found = Item::CurrentTrack, ++i;
        else if (w == "number" && word(i + 1) == "of" && word(i + 2) == "tracks") found = Item::Tracks, i += 2;
        else return MciError::UnrecognizedKeyword;
        if (item != Item::None) return MciError::FlagsNotCompatible;
        item = found;
    }

    if (item == Item::None) return MciError::MissingParameter;
    if (start && (item != Item::Position || hasTrack)) return MciError::FlagsNotCompatible;
    if (hasTrack && item != Item::Length && item != Item::Position && item != Item::Type)
        return MciError::FlagsNotCompatible;
    if (item == Item::Type && !hasTrack) return MciError::MissingParameter;

    switch (item) {
    case Item::Mode:
        reply.set(modeWord(drive->status().mode));
        return 0;
    case Item::MediaPresent:
        reply.set(drive->status().mediaPresent ? "true" : "false");
        return 0;
    case Item::Ready: {
        const DriveMode mode = drive->status().mode;
        reply.set(mode == DriveMode::Open || mode == DriveMode::NotReady ? "false" : "true");
        return 0;
    }
    case Item::Format:
        reply.set(formatWord(device.format));
        return 0;
    default:
        break;
    }

    const std::optional<DiscToc> toc = drive->toc();
    if (!toc || toc->empty()) return MciError::DeviceNotReady;
    const TocTrack* track = nullptr;
    if (hasTrack) {
        track =
            trackNumber <= static_cast<std::uint32_t>(kMaxTracks) ? toc->track(static_cast<int>(trackNumber)) : nullptr;
        if (!track) return MciError::OutOfRange;
    }

    switch (item) {
    case Item::Tracks:
        reply.number(toc->lastTrack() - toc->firstTrack() + 1);
        return 0;
    case Item::CurrentTrack:
        reply.number(trackAt(*toc, drive->status().positionFrame).number);
        return 0;
    case Item::Type:
        reply.set(track->audio ? "audio" : "other");
        return 0;
    case Item::Length: {
        int frames = 0;
        if (track) {
            frames = toc->trackEnd(track->number) - track->startFrame;
            if (track->number == toc->lastTrack()) --frames;
        } else {
            frames = toc->leadoutFrame - toc->tracks.front().startFrame - 1;
        }
        // A duration is no position: minutes:seconds:frames even in tmsf.
        if (device.format == TimeFormat::Milliseconds) reply.number(framesToMs(frames));
        else reply.msf(frames);
        return 0;
    }
    case Item::Position: {
        if (track && device.format == TimeFormat::Tmsf) {
            reply.tmsf(track->number, 0);
            return 0;
        }
        const int frame = track   ? track->startFrame
                          : start ? toc->tracks.front().startFrame
                                  : drive->status().positionFrame;
        replyPosition(frame, device.format, *toc);
        return 0;
    }
    default:
        return MciError::UnrecognizedKeyword;
    }
}

int MciInterpreter::Impl::set(Device& device) {
    bool any = false;
    bool hasFormat = false;
    TimeFormat format = device.format;
    int door = -1;  // -1 untouched, 0 closed, 1 open
    for (int i = 2; i < tokens.count; ++i) {
        const string_view w = tokens.word[i];
        any = true;
        if (w == "time") {
            if (word(i + 1) != "format") return MciError::UnrecognizedKeyword;
            ++i;
            if (noMoreWords(i + 1)) return MciError::MissingParameter;
            const string_view value = tokens.word[++i];
            if (value == "msf") format = TimeFormat::Msf;
            else if (value == "tmsf") format = TimeFormat::Tmsf;
            else if (value == "milliseconds" || value == "ms") format = TimeFormat::Milliseconds;
            else return MciError::BadTimeFormat;
            hasFormat = true;
        } else if (w == "door") {
            if (noMoreWords(i + 1)) return MciError::MissingParameter;
            const string_view value = tokens.word[++i];
            if (value == "open") door = 1;
            else if (value == "closed") door = 0;
            else return MciError::UnrecognizedKeyword;
        } else if (w == "audio") {
            // Channel switches are accepted and have no effect: the drive plays both.
            if (noMoreWords(i + 1)) return MciError::MissingParameter;
            const string_view channel = tokens.word[++i];
            if (channel != "all" && channel != "left" && channel != "right") return MciError::UnrecognizedKeyword;
        } else if (w == "video" || w == "on" || w == "off") {
            // Accepted, as the platform's CD driver accepts them, and without effect.
        } else {
            return MciError::UnrecognizedKeyword;
        }
    }
    if (!any) return MciError::MissingParameter;
    if (door >= 0) {
        if (const int error = mapDriveError(drive->setDoorOpen(door == 1))) return error;
    }
    if (hasFormat) device.format = format;
    return 0;
}

int MciInterpreter::Impl::play(Device& device) {
    bool hasFrom = false;
    bool hasTo = false;
    std::uint32_t fromValue = 0;
    std::uint32_t toValue = 0;
    for (int i = 2; i < tokens.count; ++i) {
        const string_view w = tokens.word[i];
        if (w != "from" && w != "to") return MciError::UnrecognizedKeyword;
        if (noMoreWords(i + 1)) return MciError::MissingParameter;
        if (!parseDword(tokens.word[++i], w == "from" ? fromValue : toValue)) return MciError::BadInteger;
        (w == "from" ? hasFrom : hasTo) = true;
    }

    const std::optional<DiscToc> toc = drive->toc();
    if (!toc || toc->empty()) return MciError::DeviceNotReady;
    const DriveStatus now = drive->status();
    // Already playing and nothing new asked: carry on without a hiccup.
    if (!hasFrom && !hasTo && now.mode == DriveMode::Playing) return 0;

    int from = now.positionFrame;
    if (hasFrom) {
        if (const int error = toFrame(fromValue, device.format, *toc, from)) return error;
    }
    from = std::max(from, toc->tracks.front().startFrame);
    const int lastFrame = lastPlayableFrame(*toc);
    if (from > lastFrame) return MciError::OutOfRange;

    int end = defaultPlayEnd(*toc);
    if (hasTo) {
        if (const int error = toFrame(toValue, device.format, *toc, end)) return error;
        if (end > lastFrame || from > end) return MciError::OutOfRange;
    }

    // A start inside a data track moves on to the next audio track.
    const TocTrack* startTrack = &trackAt(*toc, from);
    if (!startTrack->audio) {
        const TocTrack* next = nullptr;
        for (const auto& t : toc->tracks)
            if (t.number > startTrack->number && t.audio) {
                next = &t;
                break;
            }
        if (!next) return MciError::OutOfRange;
        from = next->startFrame;
    }
    if (from >= end) return 0;  // nothing left to play
    return mapDriveError(drive->play(from, end));
}

int MciInterpreter::Impl::pause() { return mapDriveError(drive->pause()); }

int MciInterpreter::Impl::resume() {
    const DriveStatus now = drive->status();
    if (!now.mediaPresent) return MciError::DeviceNotReady;
    if (now.mode == DriveMode::Playing) return 0;
    if (now.mode != DriveMode::Paused) return MciError::Hardware;
    return mapDriveError(drive->resume());
}

int MciInterpreter::Impl::stop() { return mapDriveError(drive->stop()); }

int MciInterpreter::Impl::seek(Device& device) {
    enum class Target { None, Start, End, Position };
    Target target = Target::None;
    std::uint32_t value = 0;
    for (int i = 2; i < tokens.count; ++i) {
        const string_view w = tokens.word[i];
        if (w != "to") return MciError::UnrecognizedKeyword;
        if (noMoreWords(i + 1)) return MciError::MissingParameter;
        const string_view where = tokens.word[++i];
        Target found = Target::Position;
        if (where == "start") found = Target::Start;
        else if (where == "end") found = Target::End;
        else if (!parseDword(where, value)) return MciError::BadInteger;
        if (target != Target::None) return MciError::FlagsNotCompatible;
        target = found;
    }
    if (target == Target::None) return MciError::MissingParameter;

    const std::optional<DiscToc> toc = drive->toc();
    if (!toc || toc->empty()) return MciError::DeviceNotReady;
    int frame = toc->tracks.front().startFrame;
    if (target == Target::End) {
        frame = lastPlayableFrame(*toc);
    } else if (target == Target::Position) {
        if (const int error = toFrame(value, device.format, *toc, frame)) return error;
        frame = std::max(frame, toc->tracks.front().startFrame);
        if (frame > lastPlayableFrame(*toc)) return MciError::OutOfRange;
    }
    return mapDriveError(drive->seek(frame));
}

}  // namespace velmora
