#pragma once

#include <QRect>

// Where everything sits on the main window's face, in pixels of the 460 x 161 client
// area. The skins are drawn to match these places, and the main window puts its controls
// on them. Places of the chrome row, the transport row and the volume controls follow
// their twip positions (divided by 15).
namespace velmora::face {

inline constexpr int kWidth = 460;
inline constexpr int kHeight = 161;
inline constexpr int kSkinWidth = 459;
inline constexpr int kSkinHeight = 162;

// Setup click area and chrome buttons.
inline constexpr QRect kSetup{20, 5, 86, 21};
inline constexpr QRect kAbout{395, 7, 16, 16};
inline constexpr QRect kMinimize{417, 7, 16, 16};
inline constexpr QRect kExit{435, 7, 16, 16};

// Display panel (drawn by the skin): the LED readout and the title labels sit on it.
inline constexpr QRect kDisplayPanel{12, 30, 436, 86};

// The six LED digits: track (0, 1), minutes (2, 3), seconds (4, 5).
inline constexpr int kLedTop = 50;
inline constexpr int kLedWidth = 17;
inline constexpr int kLedHeight = 28;
inline constexpr int kLedLeft[6] = {22, 41, 74, 93, 120, 139};
inline QRect ledRect(int index) { return {kLedLeft[index], kLedTop, kLedWidth, kLedHeight}; }

// What the readout's time counts, under the digits; a click on the readout (digits and
// that row) changes it.
inline constexpr QRect kTimeShown{22, 81, 134, 11};
inline constexpr QRect kReadout{22, 48, 134, 45};

// Captions over the readout: "Track" over the track digits, minutes, seconds.
inline constexpr QRect kLabelTrack{22, 35, 36, 13};     // Label2
inline constexpr QRect kLabelMinutes{74, 35, 36, 13};   // Label1
inline constexpr QRect kLabelSeconds{120, 35, 36, 13};  // Label3
inline constexpr QRect kLabelVolume{394, 112, 58, 12};  // Label4

// Disc title, artist and track title.
inline constexpr QRect kCDName{172, 36, 268, 18};
inline constexpr QRect kArtist{172, 56, 268, 16};
inline constexpr QRect kTrackTitle{172, 74, 268, 16};

// Position bar: 1670 twips of bar width are the whole track.
inline constexpr QRect kStatus{22, 96, 114, 10};       // picStatus
inline constexpr QRect kTrackPicker{172, 94, 16, 14};  // picTrack
inline constexpr QRect kTrackEditor{192, 94, 16, 14};  // picEditTrackList
// The play modes in effect, beside the two picture buttons.
inline constexpr QRect kModesShown{216, 95, 224, 11};
// TrackList, over the titles and above the two picture buttons, which stay clickable.
inline constexpr QRect kTrackList{172, 34, 268, 58};

// Transport row (left, top, width, height from the button table).
inline constexpr QRect kBackTrack{10, 125, 43, 30};
inline constexpr QRect kRR{55, 125, 43, 30};
inline constexpr QRect kPlay{100, 125, 41, 31};
inline constexpr QRect kFF{145, 125, 43, 30};
inline constexpr QRect kForwardTrack{190, 125, 43, 30};
inline constexpr QRect kStop{235, 125, 43, 30};
inline constexpr QRect kPause{280, 125, 43, 30};
inline constexpr QRect kEject{325, 125, 43, 30};

// Volume knob and the mute images (same spot).
inline constexpr QRect kVolumeKnob{420, 125, 28, 28};
inline constexpr QRect kMute{395, 130, 19, 20};

}  // namespace velmora::face
