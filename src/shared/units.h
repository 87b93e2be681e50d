#pragma once

// The units and limits the whole program counts in.
namespace velmora {

// Window places and sizes are kept in twips; the window system's pixel is a fixed 15 of them.
inline constexpr int kTwipsPerPixel = 15;

// A CD frame (one sector) is 1/75 second of 44.1 kHz 16-bit stereo audio.
inline constexpr int kFramesPerSecond = 75;
inline constexpr int kSampleRate = 44100;

// An audio CD holds at most 99 tracks.
inline constexpr int kMaxTracks = 99;

// The position bar's scale: this many twips of bar are the whole track.
inline constexpr int kBarTwips = 1670;

}  // namespace velmora
