#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <span>

namespace velmora {

// A CDDB server as the settings store keeps it: host, then the script path; no scheme.
struct CddbServer {
    QString host;
    QString path;
    QString text() const { return host + path; }
};

// The servers the settings window offers, in its order. The first is the default of
// "CDDBServer".
std::span<const CddbServer> cddbServers();
QStringList cddbServerTexts();

// The web site of the CDDB service the default server belongs to, which the logo links open.
QUrl cddbWebSite();

// A server text typed into the settings window. `server` is what to save (the text
// without surrounding blanks); when `error` is not empty nothing is saved and the window
// shows it.
struct ServerTextCheck {
    QString server;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
ServerTextCheck validateServerText(const QString& text);

}  // namespace velmora
