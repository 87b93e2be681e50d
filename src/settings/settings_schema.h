#pragma once

#include <QString>

namespace velmora {

// The program's own settings: text values under the one key of the current user's hive.
// Every reader and writer names a setting by one of these; a value that is missing is
// stored with its default when it is first read.
struct Setting {
    const char* name;
    // The default, except for the user name and the server, whose defaults come from the
    // machine (the logon name) and from the server list.
    const char* defaultValue;
    // Read as a whole number (window place, the tips switch); anything else reads as 0.
    bool wholeNumber;

    QString valueName() const { return QString::fromLatin1(name); }
};

namespace settings {
inline constexpr Setting UserName{"UserName", "", false};
inline constexpr Setting CDDBServer{"CDDBServer", "", false};
inline constexpr Setting Skin{"Skin", "cloud_skin.jpg", false};
inline constexpr Setting Top{"Top", "0", true};
inline constexpr Setting Left{"Left", "0", true};
inline constexpr Setting ShowTips{"Show Tips at Startup", "1", true};
// The play modes and the readout's time display, kept across starts: 0 is off (elapsed).
// Repeat: 1 the track, 2 the disc. Time Display: 1 left in the track, 2 left on the disc.
inline constexpr Setting RepeatMode{"Repeat", "0", true};
inline constexpr Setting ShuffleMode{"Shuffle", "0", true};
inline constexpr Setting IntroScanMode{"Intro Scan", "0", true};
inline constexpr Setting TimeShown{"Time Display", "0", true};
// Where discs are looked up besides the CDDB server, and whether a new disc is looked up
// without being asked ("1") or not ("0").
inline constexpr Setting MusicBrainzServer{"MusicBrainzServer", "https://musicbrainz.org", false};
inline constexpr Setting CoverArtServer{"CoverArtServer", "https://coverartarchive.org", false};
inline constexpr Setting LookupAutomatically{"Lookup Automatically", "1", true};
}  // namespace settings

// The default CDDB server path (host and script path, no scheme).
QString defaultCddbServer();

// The login name of the current user (passwd entry, then $USER), as the platform's
// 199-character buffer holds it: a longer name is cut to its first 198 characters.
QString systemLogonName();

// A stored whole-number setting as a number: the whole number the text holds (blanks
// around it allowed), 0 for anything else (empty text, "12px", "1.5", out of range).
int settingAsWholeNumber(const QString& text);

}  // namespace velmora
