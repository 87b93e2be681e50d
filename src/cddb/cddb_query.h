#pragma once

#include "cddb/cddb_record.h"
#include "cddb/cddb_request.h"
#include "platform/http_fetcher.h"
#include "platform/message_box.h"

#include <QString>

#include <functional>

namespace velmora {

// What the lookup window shows when no section knows the disc.
inline constexpr char kCddbRecordNotFound[] = "Record Not Found";

// The box a failed lookup shows: title, style, and a text made of a headline and the
// same advice for every failure.
inline constexpr char kCddbErrorTitle[] = "CDDB Server Error";
inline constexpr int kCddbErrorStyle = MsgBox::Information;
inline constexpr char kCddbTimedOut[] = "Request Timed Out";               // the transfer failed
inline constexpr char kCddbReplyTooLarge[] = "Server Reply Too Large";     // cut off at the size limit
inline constexpr char kCddbReplyUnreadable[] = "Unreadable Server Reply";  // a "210" reply without a disc title
QString cddbFailureText(const char* headline);

struct CddbOutcome {
    enum class Kind { Found, NotFound, Cancelled, Failed };

    Kind kind = Kind::NotFound;
    CddbRecord record;    // Found
    int category = -1;    // Found: the index in kCddbCategories of the section that knew the disc
    QString reply;        // Found: the whole reply as text; NotFound: kCddbRecordNotFound
    QString failureText;  // Failed: the text of the error box
};

// One lookup: asks the sections of kCddbCategories in order until one answers with a
// record. Everything runs on the caller's thread; handlers of the caller's events run
// inside run() while a request is outstanding, and one of them may call cancel().
class CddbQuery {
public:
    explicit CddbQuery(HttpFetcher& fetcher) : fetcher_(fetcher) {}

    // Called with a section's status text just before it is asked.
    std::function<void(const QString& status)> onStatus;

    CddbOutcome run(const CddbLookup& lookup);

    // Sets the cancel flag and cuts the outstanding request short. run() then sends no
    // further request, calls onStatus no more and ends Cancelled.
    void cancel();
    bool cancelRequested() const { return cancelRequested_; }

private:
    HttpFetcher& fetcher_;
    bool cancelRequested_ = false;
};

}  // namespace velmora
