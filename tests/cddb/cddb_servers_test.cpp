#include "cddb/cddb_servers.h"
#include "settings/settings_schema.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(CddbServers, EachListedServerIsAValidHostAndPathAndTheFirstIsTheDefault) {
    ASSERT_FALSE(cddbServers().empty());
    EXPECT_EQ(cddbServerTexts().front(), defaultCddbServer());
    EXPECT_EQ(cddbServerTexts().removeDuplicates(), 0);
    for (const CddbServer& server : cddbServers()) {
        const ServerTextCheck check = validateServerText(server.text());
        EXPECT_TRUE(check.ok()) << check.error.toStdString();
        EXPECT_EQ(check.server, server.text());
    }
}

TEST(ValidateServerText, RefusesWhatCannotBeAServerAndSaysWhy) {
    struct Case {
        QString text;
        QString reason;  // empty: taken
    };
    const Case cases[] = {
        {"  localhost:8080/cgi-bin/cddb.cgi\t", {}},
        {"   ", "the server is empty."},
        {"gnudb .gnudb.org/~cddb/cddb.cgi", "the host name holds a blank."},
        {"gnudb.gnudb.org/~cddb/cddb cgi", "the script path holds a blank."},
        {"http://gnudb.gnudb.org/~cddb/cddb.cgi", "leave out the \"http://\""},
        {"/~cddb/cddb.cgi", "the host name is missing."},
        {"gnudb.gnudb.org", "the script path after the host is missing."},
        {"gnu_db.org/cddb.cgi", "\"gnu_db.org\" is not a host name."},
        {"gnudb.org/cddb.cgi?cmd=x", "cannot hold \"?\", \"#\" or \"&\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const ServerTextCheck check = validateServerText(c.text);
        EXPECT_EQ(check.ok(), c.reason.isEmpty()) << check.error.toStdString();
        if (check.ok()) {
            EXPECT_EQ(check.server, c.text.trimmed());
            continue;
        }
        EXPECT_TRUE(check.error.startsWith(QStringLiteral("The CDDB server was not changed: ")));
        EXPECT_TRUE(check.error.contains(c.reason)) << check.error.toStdString();
        EXPECT_TRUE(check.error.endsWith(QStringLiteral("for example gnudb.gnudb.org/~cddb/cddb.cgi.")));
    }
}
