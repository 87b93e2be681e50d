#pragma once

#include <QString>

#include <array>

namespace velmora {

// One genre section of the server, as a lookup asks it.
struct CddbCategory {
    const char* name;
    const char* statusText;  // shown while the section is asked
    const char* urlPiece;    // the read command up to the disc ID
};

// The sections a lookup asks, in this order ("data" is never asked).
inline constexpr std::array<CddbCategory, 10> kCddbCategories{{
    {"rock", "Searching Database Section: ROCK", "?cmd=cddb+read+rock+"},
    {"country", "Searching Database Section: COUNTRY", "?cmd=cddb+read+country+"},
    {"blues", "Searching Database Section: BLUES", "?cmd=cddb+read+blues+"},
    {"classical", "Searching Database Section: CLASSICAL", "?cmd=cddb+read+classical+"},
    {"jazz", "Searching Database Section: JAZZ", "?cmd=cddb+read+jazz+"},
    {"newage", "Searching Database Section: NEW AGE", "?cmd=cddb+read+newage+"},
    {"reggae", "Searching Database Section: REGGAE", "?cmd=cddb+read+reggae+"},
    {"soundtrack", "Searching Database Section: SOUNDTRACK", "?cmd=cddb+read+soundtrack+"},
    {"folk", "Searching Database Section: FOLK", "?cmd=cddb+read+folk+"},
    {"misc", "Searching Database Section: MISC", "?cmd=cddb+read+misc+"},
}};

// The client as the hello names it. The host token stands where the protocol wants the
// client's host name: a fixed name that can never resolve, so no machine name leaks.
inline constexpr char kCddbClientName[] = "Velmora";
inline constexpr char kCddbHostToken[] = "velmora.invalid";
// The program's version, major.minor.revision.
QString cddbClientVersion();

// What a lookup asks with.
struct CddbLookup {
    QString server;    // host and script path, no scheme, e.g. "host/~cddb/cddb.cgi"
    QString userName;  // the first hello field
    QString discId;    // the disc's CDDB disc ID
};

// A hello field in the form the protocol reads: a blank as "+", every byte of the UTF-8
// text other than letters, digits and "-._~@" as %XX.
QString escapeCddbField(const QString& field);

// The read request for one section: "http://", the server, the section's piece, the disc
// ID, the escaped hello (user, host token, client name, version) and protocol level 6
// (UTF-8 replies).
QString cddbReadUrl(const CddbCategory& category, const CddbLookup& lookup);

}  // namespace velmora
