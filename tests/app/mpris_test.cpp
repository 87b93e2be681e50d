// The player on a private session bus, driven by playerctl and gdbus as a desktop drives it.
#include "app_fixture.h"

#include "app/mpris/mpris_service.h"
#include "cddb/ui/frm_query_internet.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

// Counts the Player's PropertiesChanged signals, and what they carried.
class PropertiesWatcher : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
public slots:
    void changed(const QString& interface, const QVariantMap& properties, const QStringList&) {
        if (interface == QLatin1String("org.mpris.MediaPlayer2.Player")) changes << properties;
    }
};

class MprisTest : public AppFixture {
protected:
    void SetUp() override {
        for (const char* tool : {"dbus-daemon", "playerctl", "gdbus"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(daemon.waitForReadyRead(5000));
        address = QString::fromLatin1(daemon.readLine().trimmed());
        mediaBus = [this] { return QDBusConnection::connectToBus(address, QStringLiteral("mpris-test")); };
        start();
        ASSERT_NE(app->mpris(), nullptr);
    }
    void TearDown() override {
        app.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("mpris-test"));
        daemon.kill();
        daemon.waitForFinished();
    }

    // Runs a client to its end while the player goes on handling the bus.
    QString run(const QString& program, const QStringList& args) {
        QProcess client;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        client.setProcessEnvironment(env);
        client.start(program, args);
        QElapsedTimer waited;
        waited.start();
        while (client.state() != QProcess::NotRunning && waited.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            client.waitForFinished(5);
        }
        return QString::fromUtf8(client.readAllStandardOutput()).trimmed();
    }
    QString playerctl(const QStringList& args) {
        return run(QStringLiteral("playerctl"), QStringList{"-p", "velmora"} + args);
    }
    // gdbus `verb` on the player's object, then `args`.
    QString gdbus(const QString& verb, const QStringList& args = {}) {
        return run(QStringLiteral("gdbus"), QStringList{verb, "--session", "--dest", MprisService::kServiceName,
                                                        "--object-path", MprisService::kObjectPath} +
                                                args);
    }

    QProcess daemon;
    QString address;
};

}  // namespace

TEST_F(MprisTest, ListedWithTitlesFromTheDiscDatabaseAndDrivenThroughTheTransport) {
    DiscRecord disc = session().disc();
    disc.Title = QStringLiteral("Demo Album");
    disc.Artist = QStringLiteral("The Demo Band");
    disc.track(1) = QStringLiteral("First Song");
    disc.track(2) = QStringLiteral("Second Song");
    session().takeEditedDisc(disc.ID, disc);

    EXPECT_EQ(run(QStringLiteral("playerctl"), {"-l"}), "velmora");
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    EXPECT_EQ(
        playerctl({"metadata", "--format", "{{xesam:trackNumber}}|{{title}}|{{album}}|{{artist}}|{{mpris:length}}"}),
        "1|First Song|Demo Album|The Demo Band|250000000");

    EXPECT_EQ(firstCommandOf([&] { playerctl({"play"}); }), "play cd");  // the same command as the button
    clock->advanceMs(30'000);
    tick();
    EXPECT_EQ(playerctl({"status"}), "Playing");
    EXPECT_NEAR(playerctl({"position"}).toDouble(), 30.0, 0.5);  // the client interpolates

    playerctl({"next"});
    EXPECT_EQ(playerctl({"metadata", "title"}), "Second Song");
    playerctl({"position", "100"});                         // seek within the track
    EXPECT_TRUE(recording.wasSent("play cd from 352000"));  // track 2 starts at 252 s
    recording.sent.clear();
    playerctl({"previous"});
    EXPECT_TRUE(recording.wasSent("play cd from 2"));  // past its first seconds: restarts the track

    playerctl({"pause"});
    EXPECT_EQ(playerctl({"status"}), "Paused");
    playerctl({"play-pause"});
    EXPECT_TRUE(state().Playing);
    tick();  // as for the buttons, Stop is of use from the next refresh on
    playerctl({"stop"});
    EXPECT_EQ(playerctl({"status"}), "Stopped");
}

TEST_F(MprisTest, TrackChangeIsAnnouncedAndRaiseAndQuitAct) {
    PropertiesWatcher watcher;
    QDBusConnection listener = QDBusConnection::connectToBus(address, QStringLiteral("mpris-listener"));
    ASSERT_TRUE(listener.connect(QString(), QString::fromLatin1(MprisService::kObjectPath),
                                 QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
                                 &watcher, SLOT(changed(QString, QVariantMap, QStringList))));
    click("cmdPlay");
    clock->advanceMs(250'000 + 2'000);  // into track 2
    tick();
    QElapsedTimer waited;
    waited.start();
    bool trackChange = false;
    while (!trackChange && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        for (const QVariantMap& change : watcher.changes)
            trackChange = trackChange || change.contains(QStringLiteral("Metadata"));
    }
    EXPECT_TRUE(trackChange);
    // Nothing is announced while nothing changes.
    watcher.changes.clear();
    tick();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_TRUE(watcher.changes.isEmpty());

    const QString introspection = gdbus(QStringLiteral("introspect"));
    for (const char* part : {"readonly s Identity = 'Velmora';", "readonly s DesktopEntry = 'velmora';"})
        EXPECT_TRUE(introspection.contains(QLatin1String(part))) << part;

    window->cmdMinimize_Click();
    gdbus(QStringLiteral("call"), {"--method", "org.mpris.MediaPlayer2.Raise"});
    EXPECT_TRUE(window->isVisible());
    // A Quit that arrives while a refresh runs waits for the refresh to end; the device closes once.
    recording.onSend = [this](const std::string& command) {
        if (command != "status cd length track 6") return;
        QProcess::execute(QStringLiteral("dbus-send"),
                          {QStringLiteral("--bus=") + address, QStringLiteral("--type=method_call"),
                           QStringLiteral("--dest=") + MprisService::kServiceName, MprisService::kObjectPath,
                           QStringLiteral("org.mpris.MediaPlayer2.Quit")});
    };
    recording.sent.clear();
    tick();
    recording.onSend = nullptr;
    EXPECT_EQ(recording.sent.back(), "status cd mode");
    EXPECT_TRUE(QTest::qWaitFor([this] { return programEnded == 1; }, 5000));
    EXPECT_EQ(std::count(recording.sent.begin(), recording.sent.end(), "close all"), 1);
    QDBusConnection::disconnectFromBus(QStringLiteral("mpris-listener"));
}

#include "mpris_test.moc"

TEST_F(MprisTest, QuitDuringALookupEndsCleanly) {
    http.respond = [](const QUrl&, int) { return std::optional<HttpReply>(); };  // a server that never answers
    app->openEditor();
    FrmQueryInterNet* lookup = app->openLookup();
    ASSERT_TRUE(lookup);
    lookup->tmrCheckNet_Timer();
    ASSERT_TRUE(http.outstanding(0));
    recording.sent.clear();
    gdbus(QStringLiteral("call"), {"--method", "org.mpris.MediaPlayer2.Quit"});
    EXPECT_EQ(programEnded, 1);
    EXPECT_FALSE(http.outstanding(0));
    EXPECT_EQ(std::count(recording.sent.begin(), recording.sent.end(), "close all"), 1);
}
