#include "cddb/cddb_servers.h"

#include <QRegularExpression>

#include <array>

namespace velmora {

namespace {

const std::array<CddbServer, 3> kServers{{
    {QStringLiteral("gnudb.gnudb.org"), QStringLiteral("/~cddb/cddb.cgi")},
    {QStringLiteral("freedb.dbpoweramp.com"), QStringLiteral("/~cddb/cddb.cgi")},
    {QStringLiteral("cddb.retrobridge.org"), QStringLiteral("/~cddb/cddb.cgi")},
}};

QString refused(const QString& why) {
    return QStringLiteral("The CDDB server was not changed: ") + why +
           QStringLiteral(
               "\r\n\r\nType the host name followed by the script path, for example "
               "gnudb.gnudb.org/~cddb/cddb.cgi.");
}

}  // namespace

std::span<const CddbServer> cddbServers() { return kServers; }

QStringList cddbServerTexts() {
    QStringList texts;
    for (const CddbServer& server : kServers) texts.append(server.text());
    return texts;
}

QUrl cddbWebSite() { return QUrl(QStringLiteral("https://gnudb.org/")); }

ServerTextCheck validateServerText(const QString& text) {
    // Letters, digits and hyphens in dot-separated labels, and an optional port.
    static const QRegularExpression host(QStringLiteral(
        "^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*(:[0-9]{1,5})?$"));
    const QString server = text.trimmed();
    const qsizetype slash = server.indexOf(u'/');
    const QString hostPart = slash < 0 ? server : server.left(slash);
    const QString path = slash < 0 ? QString() : server.mid(slash);
    auto refuse = [&](const QString& why) { return ServerTextCheck{server, refused(why)}; };

    if (server.isEmpty()) return refuse(QStringLiteral("the server is empty."));
    if (server.contains(QStringLiteral("://")))
        return refuse(QStringLiteral("leave out the \"http://\"; Velmora puts it in front itself."));
    if (hostPart.contains(QRegularExpression(QStringLiteral("\\s"))))
        return refuse(QStringLiteral("the host name holds a blank."));
    if (path.contains(QRegularExpression(QStringLiteral("\\s"))))
        return refuse(QStringLiteral("the script path holds a blank."));
    if (hostPart.isEmpty()) return refuse(QStringLiteral("the host name is missing."));
    if (!host.match(hostPart).hasMatch()) return refuse(QStringLiteral("\"%1\" is not a host name.").arg(hostPart));
    if (path.size() <= 1) return refuse(QStringLiteral("the script path after the host is missing."));
    if (path.contains(u'?') || path.contains(u'#') || path.contains(u'&'))
        return refuse(
            QStringLiteral("the script path cannot hold \"?\", \"#\" or \"&\"; "
                           "Velmora adds the query itself."));
    return {server, {}};
}

}  // namespace velmora
