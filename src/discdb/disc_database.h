#pragma once

#include "shared/disc_record.h"
#include "shared/disc_text.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

// What a read or write of the disc database gave: the record, if any, and why the file
// could not be used (empty when it could).
struct DiscLoad {
    std::optional<DiscRecord> record;
    QString error;
};

// The local disc database: one section per disc ID in "Velmora.ini" (see profile_file.h
// for the file format). Every call reads the file afresh; nothing is cached.
class DiscDatabase {
public:
    explicit DiscDatabase(QString filePath);

    const QString& filePath() const { return path_; }

    // The stored record of `discID` as the player shows it (see loadDiscEntries), with
    // `ID` set; no record when the disc has no section or its section has no entries.
    // Every entry loads, whatever characters its value holds, however long the section.
    DiscLoad find(const QString& discID) const;

    // Stores the default section of a new disc of `tracks` tracks (clamped to 0..99) and
    // returns the record read back. When it cannot be stored (read-only or full disk) the
    // record holds the defaults all the same, and `error` says why.
    // The disc's own titles (`text`), where it has them, stand in for the defaults.
    DiscLoad addDefault(const QString& discID, int tracks, const DiscText& text = {});

    // The entries of a disc's section as stored (the track list editor's load), and why
    // the file could not be read, if it could not.
    QStringList entries(const QString& discID, QString* error = nullptr) const;
    // Replaces the disc's section with `entries`; the reason, naming the file, when the
    // file could not be written (nothing was changed then).
    QString store(const QString& discID, const QStringList& entries);

    // The section text of a new disc with `tracks` tracks (no track entries below 1).
    static QString defaultSectionText(int tracks, const DiscText& text = {});

private:
    QString path_;
};

// Stores the entries of a section into the record the way the player loads a disc:
// "Title", "Artist", "Track1".."Track99" as stored, "Revision" as a whole number. Title, Artist, the tracks and
// Revision are cleared first, so a key missing from the section never shows the previous disc's value; NumberOfTracks
// and Extra are left alone. Other keys, entries without "=" and a Revision that is no whole number store nothing.
void loadDiscEntries(const QStringList& entries, DiscRecord& disc);

// The disc database in `dataFolder` (the folder the program writes to, made when missing),
// seeded the first time with the copy in `programFolder`, when that other folder has one.
QString discDatabasePath(const QString& dataFolder, const QString& programFolder);

}  // namespace velmora
