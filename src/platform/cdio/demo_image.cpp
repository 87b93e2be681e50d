#include "platform/cdio/demo_image.h"

#include "platform/cdio/disc_image_writer.h"
#include "shared/units.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace velmora {

namespace {

constexpr int kTracks = 12;
constexpr double kRate = kSampleRate;
constexpr int kSamplesPerFrame = kSampleRate / kFramesPerSecond;  // per channel
// Seconds per track: short, and all different.
constexpr std::array<int, kTracks> kSeconds = {9, 12, 10, 14, 8, 11, 13, 9, 12, 10, 14, 11};

struct Voice {
    double root;               // Hz
    std::array<int, 4> chord;  // semitones above the root
    double notesPerSecond;
    double brightness;  // share of the upper harmonics
};

Voice voiceOf(int track) {
    static constexpr std::array<std::array<int, 4>, 4> chords = {{
        {0, 4, 7, 12},  // major
        {0, 3, 7, 10},  // minor seventh
        {0, 5, 7, 12},  // suspended
        {0, 4, 7, 11},  // major seventh
    }};
    Voice v;
    v.root = 196.0 * std::pow(2.0, ((track * 7) % 12) / 12.0);  // around the circle of fifths
    v.chord = chords[track % 4];
    v.notesPerSecond = 3.0 + (track % 3);
    v.brightness = 0.15 + 0.1 * (track % 4);
    return v;
}

double tone(double freq, double t, double brightness) {
    const double w = 2 * std::numbers::pi * freq * t;
    return (1 - brightness) * std::sin(w) + brightness * 0.6 * std::sin(2 * w) + brightness * 0.4 * std::sin(3 * w);
}

// One sample pair of track `track` (0-based) at `t` seconds into it.
std::pair<double, double> sampleAt(int track, const Voice& v, double t) {
    const double pipLength = 0.18;
    const double pips = (track + 1) * pipLength;
    double mono = 0;
    if (t < pips) {
        // Count-in: a pip per track number.
        const double inPip = std::fmod(t, pipLength);
        if (inPip < 0.09)
            mono = 0.35 * std::sin(2 * std::numbers::pi * 1760.0 * t) * std::sin(std::numbers::pi * inPip / 0.09);
    } else {
        const double u = t - pips - 0.25;
        if (u >= 0) {
            const double step = 1.0 / v.notesPerSecond;
            const int note = static_cast<int>(u / step);
            const double inNote = u - note * step;
            // An up-and-down arpeggio with the octave above on every fourth step.
            static constexpr std::array<int, 6> order = {0, 1, 2, 3, 2, 1};
            const int semis = v.chord[order[note % 6]] + (note % 8 == 7 ? 12 : 0);
            const double freq = v.root * std::exp2(semis / 12.0);
            const double attack = std::min(1.0, inNote / 0.01);
            const double decay = std::exp(-inNote * 4.0);
            mono = 0.3 * attack * decay * tone(freq, u, v.brightness);
            // A soft drone of the root underneath.
            mono += 0.08 * std::sin(2 * std::numbers::pi * v.root / 2 * u);
        }
    }
    const double pan = 0.5 + 0.35 * std::sin(2 * std::numbers::pi * 0.1 * t + track);
    return {mono * (1 - pan) * 1.4, mono * pan * 1.4};
}

}  // namespace

bool writeDemoImage(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("Cannot create the folder %1").arg(folder);
        return false;
    }
    std::vector<ImageTrackSpec> tracks;
    tracks.reserve(kSeconds.size());
    for (int s : kSeconds) tracks.push_back({s * kFramesPerSecond, true});
    // The disc names itself, as a pressed CD with CD-Text does.
    static constexpr std::array<const char*, 4> kChords = {"Major", "Minor Seventh", "Suspended", "Major Seventh"};
    DiscText text{QStringLiteral("Twelve Tone Studies"), QStringLiteral("The Velmora Ensemble"), {}};
    for (int t = 0; t < kTracks; ++t)
        text.trackTitles.push_back(QStringLiteral("Study No. %1 (%2)")
                                       .arg(t + 1)
                                       .arg(QLatin1String(kChords[static_cast<std::size_t>(t % 4)])));
    int voiceTrack = -1;
    Voice voice;
    return writeBinCueImage(
        folder + QStringLiteral("/demo.cue"), tracks,
        [&](int track, int frame, std::int16_t* out) {
            const int lastFrame = kSeconds[static_cast<std::size_t>(track)] * kFramesPerSecond - 1;
            if (voiceTrack != track) voice = voiceOf(voiceTrack = track);
            for (int i = 0; i < kSamplesPerFrame; ++i) {
                const double t = (frame * kSamplesPerFrame + i) / kRate;
                auto [l, r] = sampleAt(track, voice, t);
                // Fade the last 1/5 s so tracks do not end on a click.
                const double tail = ((lastFrame + 1) * kSamplesPerFrame - 1 - (frame * kSamplesPerFrame + i)) / kRate;
                const double fade = std::min(1.0, tail / 0.2);
                std::int16_t* pair = out + std::ptrdiff_t{2} * i;
                pair[0] = static_cast<std::int16_t>(std::lround(std::clamp(l * fade, -1.0, 1.0) * 32000));
                pair[1] = static_cast<std::int16_t>(std::lround(std::clamp(r * fade, -1.0, 1.0) * 32000));
            }
        },
        error, text);
}

}  // namespace velmora
