#include "settings/cddb_servers.h"
#include "settings/settings_schema.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(CddbServers, EachListedServerIsAValidHostAndPathAndTheFirstIsTheDefault) {
    ASSERT_FALSE(cddbServers().empty());
    EXPECT_EQ(cddbServerTexts().front(), defaultCddbServer());
    EXPECT_EQ(cddbServerTexts().size(), static_cast<qsizetype>(cddbServers().size()));
    EXPECT_EQ(cddbServerTexts().removeDuplicates(), 0);
    for (const CddbServer& server : cddbServers()) {
        const ServerTextCheck check = validateServerText(server.text());
        EXPECT_TRUE(check.ok()) << check.error.toStdString();
        EXPECT_EQ(check.server, server.text());
        EXPECT_TRUE(server.path.startsWith(u'/'));
        EXPECT_FALSE(server.path.endsWith(u'/'));
    }
}

TEST(ValidateServerText, RefusesWhatCannotBeAServerAndSaysWhy) {
    struct Case {
        QString text;
        QString saved;  // empty: refused
        QString reason;
    };
    const Case cases[] = {
        {"gnudb.gnudb.org/~cddb/cddb.cgi", "gnudb.gnudb.org/~cddb/cddb.cgi", {}},
        {"  my.mirror.example/cgi-bin/cddb.cgi\t", "my.mirror.example/cgi-bin/cddb.cgi", {}},
        {"localhost:8080/~cddb/cddb.cgi", "localhost:8080/~cddb/cddb.cgi", {}},
        {"192.168.1.20/cddb.cgi", "192.168.1.20/cddb.cgi", {}},
        {"", {}, "the server is empty."},
        {"   ", {}, "the server is empty."},
        {"gnudb .gnudb.org/~cddb/cddb.cgi", {}, "the host name holds a blank."},
        {"gnudb.gnudb.org/~cddb/cddb cgi", {}, "the script path holds a blank."},
        {"http://gnudb.gnudb.org/~cddb/cddb.cgi", {}, "leave out the \"http://\""},
        {"/~cddb/cddb.cgi", {}, "the host name is missing."},
        {"gnudb.gnudb.org", {}, "the script path after the host is missing."},
        {"gnu_db.org/cddb.cgi", {}, "\"gnu_db.org\" is not a host name."},
        {"gnudb..org/cddb.cgi", {}, "is not a host name."},
        {"user@gnudb.org/cddb.cgi", {}, "is not a host name."},
        {"gnudb.org:port/cddb.cgi", {}, "is not a host name."},
        {"gnudb.org/cddb.cgi?cmd=x", {}, "cannot hold \"?\", \"#\" or \"&\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const ServerTextCheck check = validateServerText(c.text);
        EXPECT_EQ(check.ok(), !c.saved.isEmpty()) << check.error.toStdString();
        if (check.ok()) {
            EXPECT_EQ(check.server, c.saved);
            continue;
        }
        EXPECT_TRUE(check.error.startsWith(QStringLiteral("The CDDB server was not changed: ")));
        EXPECT_TRUE(check.error.contains(c.reason)) << check.error.toStdString();
        EXPECT_TRUE(check.error.endsWith(QStringLiteral("for example gnudb.gnudb.org/~cddb/cddb.cgi.")));
    }
}
