#include "cddb/cddb_query.h"

#include <QRegularExpression>
#include <QUrl>

namespace velmora {

QString cddbFailureText(const char* headline) {
    return QLatin1String(headline) + QStringLiteral(
                                         "\r\n\r\nPossibly try using a different CDDB Server.\r\n"
                                         "You can change the server from the settings menu.");
}

const char* cddbTransferHeadline(HttpError error) {
    switch (error) {
    case HttpError::HostNotFound:
        return kCddbHostNotFound;
    case HttpError::ConnectionRefused:
        return kCddbRefusedConnection;
    case HttpError::ConnectionClosed:
        return kCddbConnectionClosed;
    case HttpError::ConnectionFailed:
        return kCddbUnreachable;
    case HttpError::TooLarge:
        return kCddbReplyTooLarge;
    default:  // the time limit, or the network layer giving up
        return kCddbTimedOut;
    }
}

QString cddbRefusalText(const QString& serverLine) {
    static const QRegularExpression aboutTheHello(QStringLiteral("hello|handshake|e-?mail|user"),
                                                  QRegularExpression::CaseInsensitiveOption);
    const QString quoted = QStringLiteral("The CDDB server refused the request:\r\n\r\n\"%1\"\r\n\r\n").arg(serverLine);
    if (serverLine.startsWith(QLatin1String("409")) || aboutTheHello.match(serverLine).hasMatch())
        return quoted + QStringLiteral(
                            "The server wants to know who asks: put your e-mail address as the\r\n"
                            "User Name in the settings (Person Info), then look the disc up again.");
    return quoted + QStringLiteral(
                        "Possibly try using a different CDDB Server.\r\n"
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

CddbQuery::CddbQuery(HttpFetcher& fetcher, QObject* parent) : QObject(parent), fetcher_(fetcher) {}

CddbQuery::~CddbQuery() = default;

void CddbQuery::start(const CddbLookup& lookup) {
    cancel();
    lookup_ = lookup;
    row_ = 0;
    ask();
}

void CddbQuery::cancel() { request_.reset(); }

void CddbQuery::ask() {
    const CddbCategory& category = kCddbCategories[row_];
    emit status(QString::fromLatin1(category.statusText));
    request_ = fetcher_.get(QUrl(cddbReadUrl(category, lookup_)));
    connect(request_.get(), &HttpRequest::finished, this, &CddbQuery::replied);
}

void CddbQuery::replied(const HttpReply& reply) {
    const std::unique_ptr<HttpRequest> done = std::move(request_);
    CddbOutcome outcome;
    const QByteArray contentType = reply.header("Content-Type");
    if (!reply.ok() && reply.error != HttpError::HttpStatus) {
        // The transfer failed. Cancelled is the network layer giving up, never cancel().
        outcome = failed(cddbTransferHeadline(reply.error));
    } else if (const QString refusal = cddbRefusal(reply.body, contentType); !refusal.isEmpty()) {
        outcome = ended(CddbOutcome::Kind::Failed);
        outcome.failureText = cddbRefusalText(refusal);
        outcome.serverWords = refusal;
    } else if (reply.ok() && isCddbRecordReply(reply.body)) {
        std::optional<CddbRecord> record = parseCddbRecord(reply.body, contentType);
        if (!record) {
            outcome = failed(kCddbReplyUnreadable);
        } else {
            outcome = ended(CddbOutcome::Kind::Found);
            outcome.record = std::move(*record);
            outcome.category = static_cast<int>(row_);
            outcome.reply = decodeCddbReply(reply.body, contentType);
        }
    } else if (++row_ < kCddbCategories.size()) {  // another status or an error page: not in this section
        ask();
        return;
    } else {
        outcome = ended(CddbOutcome::Kind::NotFound);
        outcome.reply = QString::fromLatin1(kCddbRecordNotFound);
    }
    emit finished(outcome);  // last: a slot may delete the query
}

}  // namespace velmora
