// The track list editor: a disc's section loaded from any file, a lookup's record from any
// reply merged into it, and the save: what the editor saves reads back as saved (line
// breaks as blanks), and a file it cannot read is never written. Input: the database file,
// "\n@@\n", then the server's reply.
#include "fuzz_support.h"

#include "cddb/cddb_merge.h"
#include "discdb/disc_database.h"
#include "discdb/track_list_entries.h"

#include <algorithm>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytesOf(data, size);
    const qsizetype split = input.indexOf("\n@@\n");
    const QByteArray file = split < 0 ? input : input.left(split);
    const QByteArray reply = split < 0 ? QByteArray() : input.mid(split + 4);
    const QString id = QStringLiteral("1C02F203");
    const QString path = fuzz::scratchFolder() + QStringLiteral("/Velmora.ini");
    fuzz::writeFile(path, file);
    DiscDatabase database(path);

    // The editor's load over the record the player holds.
    QString unreadable;
    DiscRecord record;
    record.Title = QStringLiteral("Held title");
    record.NumberOfTracks = 3;
    loadEditorEntries(database.entries(id, &unreadable), record);
    record.NumberOfTracks = std::clamp(record.NumberOfTracks, 0, kMaxTracks);

    // The merge fills the boxes; only the rows of the disc's tracks are saved.
    if (const std::optional<CddbRecord> found = parseCddbRecord(reply)) {
        const DiscTitles titles = mergedTitles(*found);
        record.Title = titles.title;
        record.Artist = titles.artist;
        for (const auto& [number, title] : titles.tracks)
            if (number == 1 || number <= record.NumberOfTracks) record.track(number) = title;
    }

    const QString why = database.store(id, editorSectionEntries(record));
    if (!unreadable.isEmpty()) {
        if (why.isEmpty()) fuzz::broken("saved into a file it could not read", unreadable);
        return 0;
    }
    if (!why.isEmpty()) fuzz::broken("the save failed", why);
    QString error;
    DiscRecord back;
    loadEditorEntries(database.entries(id, &error), back);
    const auto flat = [](QString text) { return text.replace(u'\r', u' ').replace(u'\n', u' '); };
    if (!error.isEmpty()) fuzz::broken("the saved file cannot be read", error);
    if (back.Title != flat(record.Title) || back.Artist != flat(record.Artist)) fuzz::broken("title or artist");
    if (back.NumberOfTracks != record.NumberOfTracks) fuzz::broken("track count");
    for (int n = 1; n <= std::max(1, record.NumberOfTracks); ++n)
        if (back.track(n) != flat(record.track(n))) fuzz::broken("track", QString::number(n));
    return 0;
}
