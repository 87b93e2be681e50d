#pragma once

#include "platform/http_fetcher.h"

#include <QSignalSpy>

#include <optional>

// The reply `request` finishes with, waited for in the event loop; nullopt when none came
// within `ms`. The spy connects after get() has returned, so a reply given inside get()
// is never seen.
inline std::optional<velmora::HttpReply> awaitReply(velmora::HttpRequest& request, int ms = 5000) {
    QSignalSpy finished(&request, &velmora::HttpRequest::finished);
    if (!finished.wait(ms)) return std::nullopt;
    return finished.at(0).at(0).value<velmora::HttpReply>();
}
