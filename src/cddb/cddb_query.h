#pragma once

#include "cddb/cddb_record.h"
#include "cddb/cddb_request.h"
#include "platform/http_fetcher.h"
#include "platform/message_box.h"

#include <QObject>
#include <QString>

#include <memory>

namespace velmora {

// What the lookup window shows when no section knows the disc.
inline constexpr char kCddbRecordNotFound[] = "Record Not Found";

// The box a failed lookup shows: title, style, and a text made of a headline that names
// the cause and advice.
inline constexpr char kCddbErrorTitle[] = "CDDB Server Error";
inline constexpr int kCddbErrorStyle = MsgBox::Information;
inline constexpr char kCddbTimedOut[] = "Request Timed Out";  // the time limit ran out
inline constexpr char kCddbHostNotFound[] = "CDDB Server Not Found";
inline constexpr char kCddbRefusedConnection[] = "Connection Refused By The CDDB Server";
inline constexpr char kCddbConnectionClosed[] = "Connection Closed By The CDDB Server";
inline constexpr char kCddbUnreachable[] = "CDDB Server Cannot Be Reached";
inline constexpr char kCddbReplyTooLarge[] = "Server Reply Too Large";     // cut off at the size limit
inline constexpr char kCddbReplyUnreadable[] = "Unreadable Server Reply";  // a "210" reply without a disc title
QString cddbFailureText(const char* headline);
// The headline for a transfer that failed.
const char* cddbTransferHeadline(HttpError error);
// The text for a server that refused the request with `serverLine`: the line quoted, and
// what to do; a refused hello asks for the user's e-mail address as the user name.
QString cddbRefusalText(const QString& serverLine);

struct CddbOutcome {
    enum class Kind { Found, NotFound, Failed };

    Kind kind = Kind::NotFound;
    CddbRecord record;         // Found
    int category = -1;         // Found: the index in kCddbCategories of the section that knew the disc
    QString reply;             // Found: the whole reply as text; NotFound: kCddbRecordNotFound
    QString failureText;       // Failed: the text of the error box
    QString serverWords = {};  // Failed by a refusal: the server's own status line
};

// One lookup: asks the sections of kCddbCategories in order, one request at a time, until
// one answers with a record. Each section's reply asks the next from the event loop. A
// server that refuses the request (a 4xx or 5xx status other than 401) ends the lookup at
// once: asking the other sections would only be refused again.
class CddbQuery : public QObject {
    Q_OBJECT
public:
    explicit CddbQuery(HttpFetcher& fetcher, QObject* parent = nullptr);
    ~CddbQuery() override;

    // Asks the first section; `finished` follows from the event loop, never inside start().
    // A lookup under way is cancelled first.
    void start(const CddbLookup& lookup);
    // Aborts the outstanding request; the lookup then asks nothing more and emits nothing.
    void cancel();
    bool running() const { return request_ != nullptr; }

signals:
    // A section's status text, just before it is asked. A slot may not cancel the query.
    void status(const QString& text);
    // The end of a lookup that was not cancelled. A slot may delete the query.
    void finished(const velmora::CddbOutcome& outcome);

private:
    void ask();
    void replied(const HttpReply& reply);

    HttpFetcher& fetcher_;
    CddbLookup lookup_;
    std::size_t row_ = 0;  // the section asked
    std::unique_ptr<HttpRequest> request_;
};

}  // namespace velmora
