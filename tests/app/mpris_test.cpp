// The player on a private session bus, driven by playerctl and gdbus as a desktop drives it.
#include "app_fixture.h"

#include "app/mpris/mpris_service.h"
#include "cddb/ui/frm_query_internet.h"
#include "chrome/popup_menu.h"
#include "mixer/alsa_mixer_volume.h"
#include "mixer/mixer_scale.h"

#include <QAction>
#include <QRegularExpression>

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    // Position as the player reports it (playerctl adds the time since it asked).
    QString position() {
        return gdbus(QStringLiteral("call"),
                     {"--method", "org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2.Player", "Position"});
    }
    // The Player's Can* properties that read true.
    QString canFlags() {
        const QString all = gdbus(QStringLiteral("call"), {"--method", "org.freedesktop.DBus.Properties.GetAll",
                                                           "org.mpris.MediaPlayer2.Player"});
        QStringList on;
        for (const char* flag : {"CanPlay", "CanPause", "CanGoNext", "CanGoPrevious", "CanSeek", "CanControl"})
            if (all.contains(QStringLiteral("'%1': <true>").arg(QLatin1String(flag)))) on << QLatin1String(flag);
        return on.join(u' ');
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
    playerctl({"position", "100"});  // seek within the track, to the frame
    EXPECT_TRUE(recording.wasSent("play cd from 02:01:40:00"));
    EXPECT_EQ(position(), "(<int64 100000000>,)");
    clock->advanceMs(1000);  // the last refresh is a second old: a relative seek starts from the drive
    playerctl({"position", "5+"});
    EXPECT_TRUE(recording.wasSent("play cd from 02:01:46:00"));
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

// Put away in the tray, the player stays on the bus: the session follows the drive without
// touching the face, the bus and the menu drive it, and the face is right when shown again.
TEST_F(MprisTest, PutAwayThePlayerIsFollowedAndDrivenFromTheBus) {
    click("cmdPlay");
    tick();
    window->cmdMinimize_Click();
    ASSERT_FALSE(window->isShownToUser());
    const QString face = leds();
    auto away = [this](int ms) {
        clock->advanceMs(ms);
        app->core().refresh.tmrUpdate_Timer();
    };
    away(12'340);
    EXPECT_EQ(playerctl({"status"}), "Playing");
    EXPECT_EQ(position(), "(<int64 12333333>,)");  // 12 s and 25 frames
    EXPECT_EQ(canFlags(), "CanPlay CanPause CanGoNext CanGoPrevious CanSeek") << "no mixer: no control";
    EXPECT_TRUE(window->popupMenu().mnuPause->isEnabled());

    EXPECT_EQ(firstCommandOf([&] { playerctl({"play-pause"}); }), "pause cd");
    EXPECT_EQ(playerctl({"status"}), "Paused");
    EXPECT_EQ(canFlags(), "CanPlay CanGoNext CanGoPrevious");
    EXPECT_FALSE(window->popupMenu().mnuPause->isEnabled());
    playerctl({"stop"});  // a paused disc stops from the bus, though its Stop button is disabled
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    away(3000);
    playerctl({"next"});
    EXPECT_EQ(playerctl({"metadata", "xesam:trackNumber"}), "2");
    EXPECT_EQ(leds(), face) << "the face is not touched while put away";

    window->popupMenu().mnuAR->trigger();
    EXPECT_EQ(leds(), "020000") << "shown again, the face is right at once";
    EXPECT_TRUE(controls().cmdPlay->isEnabled());
    EXPECT_FALSE(controls().cmdPause->isEnabled());
}

namespace {

// The knob's master line on the sound server of tools/with-pulse.sh.
class MprisVolumeTest : public MprisTest {
protected:
    void SetUp() override {
        const QByteArray server = qgetenv("VELMORA_PULSE_SERVER");
        if (server.isEmpty()) GTEST_SKIP() << "no sound server; run the suite through tools/with-pulse.sh";
        if (QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()) GTEST_SKIP() << "needs pactl";
        // The one sink is shared with the suites running beside this one.
        lock = ::open(qgetenv("VELMORA_PULSE_LOCK").constData(), O_RDONLY);
        if (lock >= 0) ::flock(lock, LOCK_EX);
        qputenv("PULSE_SERVER", server);
        sink = qEnvironmentVariable("VELMORA_PULSE_SINK");
        mixer = [] { return std::make_unique<AlsaMixerVolume>("pulse"); };
        MprisTest::SetUp();
    }
    void TearDown() override {
        MprisTest::TearDown();
        if (lock >= 0) ::close(lock);
    }
    // The sink's volume on the player's scale, as pactl reads it.
    int sinkVolume() {
        static const QRegularExpression raw(QStringLiteral(":\\s*(\\d+)\\s*/"));
        const QString out = run(QStringLiteral("pactl"), {"get-sink-volume", sink});
        return mixer_scale::fromElement(raw.match(out).captured(1).toLong(), 0, 65536);
    }

    int lock = -1;
    QString sink;
};

}  // namespace

TEST_F(MprisVolumeTest, VolumeIsTheMasterLineAndFollowsOtherPrograms) {
    PropertiesWatcher watcher;
    QDBusConnection listener = QDBusConnection::connectToBus(address, QStringLiteral("mpris-listener"));
    ASSERT_TRUE(listener.connect(QString(), QString::fromLatin1(MprisService::kObjectPath),
                                 QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
                                 &watcher, SLOT(changed(QString, QVariantMap, QStringList))));
    EXPECT_TRUE(canFlags().endsWith(QLatin1String("CanControl")));
    playerctl({"volume", "0.3"});
    EXPECT_NEAR(sinkVolume() / 65535.0, 0.3, 1e-4);
    EXPECT_NEAR(playerctl({"volume"}).toDouble(), 0.3, 1e-4);

    run(QStringLiteral("pactl"), {"set-sink-volume", sink, "25%"});
    EXPECT_NEAR(playerctl({"volume"}).toDouble(), 0.25, 1e-4);
    // Another program's change, found by the knob's poll, is told to the bus too.
    run(QStringLiteral("pactl"), {"set-sink-volume", sink, "40%"});
    watcher.changes.clear();
    window->volume().poll();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(watcher.changes.begin(), watcher.changes.end(), [](const QVariantMap& change) {
                return std::abs(change.value(QStringLiteral("Volume")).toDouble() - 0.4) < 1e-4;
            });
        },
        5000));
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
