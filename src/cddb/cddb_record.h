#pragma once

#include "shared/units.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace velmora {

// What a CDDB read reply tells about a disc: the parts of its disc title and a title for
// each track the record names.
struct CddbRecord {
    QString artist;
    QString title;
    // Element i: the title of track i + 1, absent when the record has no line for it.
    // As long as the highest track the record names, at most kMaxTracks.
    std::vector<std::optional<QString>> tracks;

    std::optional<QString> track(int index) const {
        return index >= 0 && index < static_cast<int>(tracks.size()) ? tracks[static_cast<std::size_t>(index)]
                                                                     : std::nullopt;
    }
};

// True for a reply whose first three bytes are "210", the status of a record that follows.
bool isCddbRecordReply(const QByteArray& reply);

// The reply as text, in the charset its Content-Type declares (see decodeReplyText).
QString decodeCddbReply(const QByteArray& reply, const QByteArray& contentType = {});

// The record of a "210" reply; nullopt when it holds no disc title. Lines may end in
// CR LF or LF alone, the last with no line end at all; a key given on several lines is
// joined; \n, \t and \\ in values are decoded; reading stops at the "." line. Titles
// carry no control characters (line breaks and tabs become blanks).
std::optional<CddbRecord> parseCddbRecord(const QByteArray& reply, const QByteArray& contentType = {});

// A CDDB status line that refuses the request: a code of 4xx or 5xx other than 401 (no
// such entry), e.g. "500 Unknown developer email" or "409 No handshake". Empty for any
// other reply.
QString cddbRefusal(const QByteArray& reply, const QByteArray& contentType = {});

// Artist and title of a disc title: split at the first " / "; a title with only a bare
// "/" splits before it, dropping the one character after it; with no "/" both are the
// whole text.
struct CddbDiscTitle {
    QString artist;
    QString title;
};
CddbDiscTitle splitCddbDiscTitle(const QString& discTitle);

}  // namespace velmora
