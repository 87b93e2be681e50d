#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace velmora {

class MciChannel;
struct DiscRecord;
struct PlayerState;

// The local disc database: one section per disc ID in "Velmora.ini" (see profile_file.h
// for the file format). Every call reads the file afresh; nothing is cached.
class DiscDatabase {
public:
    explicit DiscDatabase(QString filePath);

    const QString& filePath() const { return path_; }

    // Loads the section of `discID` into state.CurrentDisc, first storing a default
    // section for a disc not yet in the file (or whose section has no entries), then
    // calls ShowDiscInfo. An empty discID only sets Artist to "No Disc Loaded".
    //
    // Every load starts from an empty Title, Artist, Track 1 to 30 and a Revision of 0,
    // so a key missing from the section never shows the previous disc's value;
    // NumberOfTracks and Extra are left alone. Loaded texts keep the NUL that ended
    // their entry ("Unknown Title" + NUL), which the label writer relies on. Every entry
    // is loaded, whatever characters its value holds, and however long the section.
    // When the default section cannot be stored (read-only or full disk), the disc
    // still shows it. Never reports an error.
    void GetCDINFO(const QString& discID, PlayerState& state, MciChannel& mci,
                   const std::function<void()>& ShowDiscInfo);

    // The section text of a new disc with `tracks` tracks (none when below 1).
    static QString defaultSectionText(int tracks);

private:
    QString path_;
};

// Stores the entries of a section into the record as GetCDINFO does (fields cleared
// first): "Title", "Artist", "Track1".."Track30" with a trailing NUL, "Revision" as a
// whole number. Other keys, entries without "=" and a Revision that is no whole number
// store nothing.
void loadDiscEntries(const QStringList& entries, DiscRecord& disc);

// Where the disc database lives for the given program folder: beside the program when
// that folder is writable, else "velmora" in the user's data folder (seeded with the
// copy beside the program, if there is one, the first time).
QString discDatabasePath(const QString& programFolder);

}  // namespace velmora
