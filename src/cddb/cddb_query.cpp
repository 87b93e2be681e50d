#include "cddb/cddb_query.h"

#include <QUrl>

namespace velmora {

QString cddbFailureText(const char* headline) {
    return QLatin1String(headline) + QStringLiteral(
                                         "\r\n\r\nPossibly try using a different CDDB Server.\r\n"
                                         "You can change the server from the settings menu.");
}

namespace {

CddbOutcome ended(CddbOutcome::Kind kind) {
    CddbOutcome outcome;
    outcome.kind = kind;
    return outcome;
}

CddbOutcome failed(const char* headline) {
    CddbOutcome outcome = ended(CddbOutcome::Kind::Failed);
    outcome.failureText = cddbFailureText(headline);
    return outcome;
}

}  // namespace

void CddbQuery::cancel() {
    cancelRequested_ = true;
    fetcher_.abort();
}

CddbOutcome CddbQuery::run(const CddbLookup& lookup) {
    cancelRequested_ = false;
    for (std::size_t row = 0; row < kCddbCategories.size(); ++row) {
        if (row > 0 && cancelRequested_) return ended(CddbOutcome::Kind::Cancelled);
        const CddbCategory& category = kCddbCategories[row];
        if (onStatus) onStatus(QString::fromLatin1(category.statusText));

        const HttpReply reply = fetcher_.get(QUrl(cddbReadUrl(category, lookup)));
        // Once the user has cancelled, a failure is no longer theirs to hear about.
        if (reply.error == HttpError::Cancelled ||
            (cancelRequested_ && !reply.ok() && reply.error != HttpError::HttpStatus))
            return ended(CddbOutcome::Kind::Cancelled);
        switch (reply.error) {
        case HttpError::None:
            break;
        case HttpError::HttpStatus:  // an error page: not in this section
            continue;
        case HttpError::TooLarge:
            return failed(kCddbReplyTooLarge);
        case HttpError::Timeout:
        case HttpError::ConnectionFailed:
        case HttpError::ConnectionClosed:
        case HttpError::Cancelled:
            return failed(kCddbTimedOut);
        }
        if (!isCddbRecordReply(reply.body)) continue;

        std::optional<CddbRecord> record = parseCddbRecord(reply.body);
        if (!record) return failed(kCddbReplyUnreadable);
        CddbOutcome found = ended(CddbOutcome::Kind::Found);
        found.record = std::move(*record);
        found.category = static_cast<int>(row);
        found.reply = decodeCddbReply(reply.body);
        return found;
    }
    if (cancelRequested_) return ended(CddbOutcome::Kind::Cancelled);
    CddbOutcome notFound = ended(CddbOutcome::Kind::NotFound);
    notFound.reply = QString::fromLatin1(kCddbRecordNotFound);
    return notFound;
}

}  // namespace velmora
