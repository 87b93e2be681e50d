#pragma once

// Generated images say where each sample comes from, so the output shows which frames
// played: left = absolute CD frame, right = index within the frame.

#include "platform/audio/pcm_output.h"
#include "platform/cd_drive.h"
#include "platform/clock.h"
#include "platform/cdio/disc_image_writer.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::cdiotest {

inline std::int16_t leftOf(int absFrame) { return static_cast<std::int16_t>(absFrame); }
inline std::int16_t rightOf(int index) { return static_cast<std::int16_t>(index); }

struct TestImage {
    QString cue;
    DiscToc toc;  // what the image must read back as
};

// Each track's number and start ("d" after a data track), then the leadout: one string,
// so a mismatch shows as a readable diff.
inline std::string layout(const DiscToc& toc) {
    std::string s;
    for (const TocTrack& t : toc.tracks)
        s += std::to_string(t.number) + "@" + std::to_string(t.startFrame) + (t.audio ? " " : "d ");
    return s + "leadout@" + std::to_string(toc.leadoutFrame);
}

inline TestImage makeImage(const QString& dir, const QString& name, const std::vector<ImageTrackSpec>& tracks) {
    TestImage image;
    image.cue = dir + QLatin1Char('/') + name + QStringLiteral(".cue");
    int start = kLeadInFrames;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        image.toc.tracks.push_back({static_cast<int>(i) + 1, start, tracks[i].audio});
        start += tracks[i].frames;
    }
    image.toc.leadoutFrame = start;
    const auto fill = [&](int track, int frame, std::int16_t* out) {
        for (int i = 0; i < 588; ++i) {
            out[2 * i] = leftOf(image.toc.tracks[track].startFrame + frame);
            out[2 * i + 1] = rightOf(i);
        }
    };
    if (!writeBinCueImage(image.cue, tracks, fill, nullptr)) image.cue.clear();
    return image;
}

// Writes `bytes` to `path` and gives back the path ("" if it cannot be written).
inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() ? path : QString();
}

// Raw samples to `path` through a null device, which never blocks: the clock paces it.
inline PcmTarget fileOutput(const QString& path) {
    PcmTarget t;
    t.device = "tofile";
    t.configText =
        "pcm.tofile { type file slave.pcm { type null } file \"" + path.toStdString() + "\" format \"raw\" }";
    return t;
}

inline std::vector<std::int16_t> readSamples(const QString& path) {
    QFile f(path);
    std::vector<std::int16_t> out;
    if (!f.open(QIODevice::ReadOnly)) return out;
    const QByteArray bytes = f.readAll();
    out.resize(bytes.size() / 2);
    std::memcpy(out.data(), bytes.constData(), out.size() * 2);  // native order, as the PCM writes it
    return out;
}

// Stereo frames in the output file so far.
inline long long outputFrames(const QString& path) { return QFile(path).size() / 4; }

// "" if `count` stereo samples from `at` are the disc's from absolute sample `fromSample`.
inline std::string expectRun(const std::vector<std::int16_t>& samples, long long at, long long fromSample,
                             long long count) {
    if (static_cast<long long>(samples.size()) < 2 * (at + count))
        return "output holds " + std::to_string(samples.size() / 2) + " frames, expected at least " +
               std::to_string(at + count);
    for (long long k = 0; k < count; ++k) {
        const long long s = fromSample + k;
        const int frame = static_cast<int>(s / 588), index = static_cast<int>(s % 588);
        const std::int16_t l = samples[2 * (at + k)], r = samples[2 * (at + k) + 1];
        if (l != leftOf(frame) || r != rightOf(index))
            return "output frame " + std::to_string(at + k) + " is not sample " + std::to_string(index) +
                   " of disc frame " + std::to_string(frame);
    }
    return {};
}

inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}

// Moves `clock` on a step at a time, letting the player's threads run, until `done`.
inline bool runClockUntil(ManualClock& clock, const std::function<bool()>& done, int stepMs = 40) {
    for (int i = 0; i < 400 && !done(); ++i) {
        clock.advanceMs(stepMs);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    return waitFor(done);
}

}  // namespace velmora::cdiotest
