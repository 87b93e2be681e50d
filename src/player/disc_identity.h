#pragma once

#include "discdb/disc_id.h"

#include <QObject>
#include <QString>

namespace velmora {

class DiscDatabase;
class MciChannel;
class PlayerSession;

// The drive's track table in msf: the format is switched to msf and back to tmsf.
DiscTocReplies readDiscTocReplies(MciChannel& mci);

// Whether the last track of the disc that table came from is a data track after audio ones
// (an enhanced CD), asked of the drive.
bool lastTrackIsData(MciChannel& mci, const DiscTocReplies& toc);

// A disc the database had never seen, just given its default section.
struct NewDisc {
    QString discId;
    DiscTocReplies toc;         // the drive's table it was identified by
    int tracks = 0;             // the track count of its default section
    bool titledByDisc = false;  // the disc's own titles (CD-Text) went into the section
};

// Knows the disc in the drive: its ID from the track table, and its record from the
// disc database.
class DiscIdentity : public QObject {
    Q_OBJECT
public:
    DiscIdentity(PlayerSession& session, DiscDatabase& database);

    QString GetDiscID();

    // Loads the record of `discID` into the session's disc, first storing a default
    // section for a disc not yet in the database. An empty ID loads nothing.
    void GetCDINFO(const QString& discID);

    // GetDiscID, then GetCDINFO.
    void identifyDisc();

    DiscDatabase& database() { return database_; }

signals:
    // After the session holds the new disc's record. Emitted inside the refresh: a
    // listener that talks to the drive or waits does so from the event loop.
    void discAdded(const velmora::NewDisc& disc);

private:
    PlayerSession& session_;
    DiscDatabase& database_;
    QString lastId_;  // the last ID GetDiscID computed, and the table it came from
    DiscTocReplies lastToc_;
};

}  // namespace velmora
