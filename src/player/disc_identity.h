#pragma once

#include "discdb/disc_id.h"

#include <QString>

namespace velmora {

class DiscDatabase;
class MciChannel;
class PlayerSession;

// The drive's track table in msf: the format is switched to msf and back to tmsf.
DiscTocReplies readDiscTocReplies(MciChannel& mci);

// Knows the disc in the drive: its ID from the track table, and its record from the
// disc database.
class DiscIdentity {
public:
    DiscIdentity(PlayerSession& session, DiscDatabase& database);

    QString GetDiscID();

    // Loads the record of `discID` into the session's disc, first storing a default
    // section for a disc not yet in the database. An empty ID loads nothing.
    void GetCDINFO(const QString& discID);

    // GetDiscID, then GetCDINFO.
    void identifyDisc();

    DiscDatabase& database() { return database_; }

private:
    PlayerSession& session_;
    DiscDatabase& database_;
};

}  // namespace velmora
