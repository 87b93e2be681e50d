// The player on a private session bus, driven by playerctl and gdbus as a desktop drives it.
#include "app_fixture.h"

#include "app/auto_lookup.h"
#include "app/mpris/mpris_service.h"
#include "cddb/musicbrainz_disc_id.h"
#include "cddb/ui/frm_query_internet.h"
#include "chrome/popup_menu.h"
#include "mixer/alsa_mixer_volume.h"
#include "musicbrainz_answers.h"

#include <QAction>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
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
        QDBusConnection listener = QDBusConnection::connectToBus(address, QStringLiteral("mpris-listener"));
        ASSERT_TRUE(listener.connect(QString(), MprisService::kObjectPath, "org.freedesktop.DBus.Properties",
                                     "PropertiesChanged", &watcher, SLOT(changed(QString, QVariantMap, QStringList))));
    }
    void TearDown() override {
        app.reset();
        for (const char* name : {"mpris-test", "mpris-listener"}) QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished();
    }
    // Whether a PropertiesChanged of the Player tells `property` (with `value`, if given).
    bool announced(const QString& property, const QVariant& value = {}) {
        return QTest::qWaitFor(
            [&] {
                return std::any_of(watcher.changes.begin(), watcher.changes.end(), [&](const QVariantMap& change) {
                    return change.contains(property) && (!value.isValid() || change.value(property) == value);
                });
            },
            5000);
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
    // A Player property as the player reports it (playerctl adds to the position the time since it asked).
    QString property(const char* name) {
        return gdbus(QStringLiteral("call"),
                     {"--method", "org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2.Player", name});
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
    PropertiesWatcher watcher;
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
    EXPECT_EQ(property("Position"), "(<int64 100000000>,)");
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

TEST_F(MprisTest, TrackChangeIsAnnouncedAndRaiseActs) {
    click("cmdPlay");
    clock->advanceMs(250'000 + 2'000);  // into track 2
    tick();
    EXPECT_TRUE(announced(QStringLiteral("Metadata")));
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
}

// Put away in the tray, the player stays on the bus: the session follows the drive and the
// bus drives it (the face and the menu: ShutdownTrayTest).
TEST_F(MprisTest, PutAwayThePlayerIsFollowedAndDrivenFromTheBus) {
    click("cmdPlay");
    tick();
    window->cmdMinimize_Click();
    ASSERT_FALSE(window->isShownToUser());
    auto away = [this](int ms) {
        clock->advanceMs(ms);
        app->core().refresh.tmrUpdate_Timer();
    };
    away(12'340);
    EXPECT_EQ(playerctl({"status"}), "Playing");
    EXPECT_EQ(property("Position"), "(<int64 12333333>,)");  // 12 s and 25 frames
    EXPECT_EQ(canFlags(), "CanPlay CanPause CanGoNext CanGoPrevious CanSeek CanControl");

    EXPECT_EQ(firstCommandOf([&] { playerctl({"play-pause"}); }), "pause cd");
    EXPECT_EQ(playerctl({"status"}), "Paused");
    EXPECT_EQ(canFlags(), "CanPlay CanGoNext CanGoPrevious CanControl");
    playerctl({"stop"});  // a paused disc stops from the bus, though its Stop button is disabled
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    away(3000);
    playerctl({"next"});
    EXPECT_EQ(playerctl({"metadata", "xesam:trackNumber"}), "2");

    window->popupMenu().mnuAR->trigger();  // shown again, the face and the bus agree
    EXPECT_EQ(leds(), "020000");
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    EXPECT_EQ(canFlags(), "CanPlay CanGoNext CanGoPrevious CanControl");
}

// The knob's master line on the sound server of tools/with-pulse.sh, read back with pactl.
class MprisVolumeTest : public MprisTest {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("VELMORA_PULSE_SERVER") || QStandardPaths::findExecutable("pactl").isEmpty())
            GTEST_SKIP() << "needs pactl and the sound server of tools/with-pulse.sh";
        // The one sink is shared with the suites running beside this one.
        lock = ::open(qgetenv("VELMORA_PULSE_LOCK").constData(), O_RDONLY);
        if (lock >= 0) ::flock(lock, LOCK_EX);
        qputenv("PULSE_SERVER", qgetenv("VELMORA_PULSE_SERVER"));
        mixer = [] { return std::make_unique<AlsaMixerVolume>("pulse"); };
        MprisTest::SetUp();
    }
    void TearDown() override {
        MprisTest::TearDown();
        if (lock >= 0) ::close(lock);
    }
    QString pactl(const char* verb, const char* value = nullptr) {
        QStringList args{verb, qEnvironmentVariable("VELMORA_PULSE_SINK")};
        if (value) args << value;
        return run(QStringLiteral("pactl"), args);
    }

    int lock = -1;
};

TEST_F(MprisVolumeTest, VolumeIsTheMasterLineAndFollowsOtherPrograms) {
    playerctl({"volume", "0.3"});
    EXPECT_TRUE(pactl("get-sink-volume").contains(QLatin1String("/  30% /"))) << pactl("get-sink-volume").toStdString();
    pactl("set-sink-volume", "25%");
    EXPECT_NEAR(playerctl({"volume"}).toDouble(), 0.25, 1e-4);
    // Another program's change, found by the knob's poll, is told to the bus too.
    pactl("set-sink-volume", "40%");
    window->volume().poll();
    EXPECT_TRUE(announced(QStringLiteral("Volume"), 26214 / 65535.0));
}

TEST_F(MprisTest, LoopStatusAndShuffleSetFromTheBusReachThePlayerAndComeBackAsChanges) {
    PropertiesWatcher watcher;
    QDBusConnection listener = QDBusConnection::connectToBus(address, QStringLiteral("mpris-listener"));
    ASSERT_TRUE(listener.connect(QString(), QString::fromLatin1(MprisService::kObjectPath),
                                 QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
                                 &watcher, SLOT(changed(QString, QVariantMap, QStringList))));
    auto announced = [&watcher](const char* property, const QVariant& value) {
        return QTest::qWaitFor([&] {
            for (const QVariantMap& change : watcher.changes)
                if (change.value(QLatin1String(property)) == value) return true;
            return false;
        });
    };
    playerctl({"loop", "Track"});
    EXPECT_EQ(session().modes().repeat, Repeat::Track);
    EXPECT_TRUE(window->popupMenu().mnuRepeatTrack->isChecked());
    EXPECT_TRUE(announced("LoopStatus", QStringLiteral("Track")));
    playerctl({"shuffle", "On"});
    EXPECT_TRUE(session().modes().shuffle);
    EXPECT_TRUE(announced("Shuffle", true));
    EXPECT_EQ(playerctl({"shuffle"}), "On");
    // Set from the window, told on the bus.
    window->activateWindow();
    QTest::keyClick(window, Qt::Key_R);
    EXPECT_TRUE(announced("LoopStatus", QStringLiteral("Playlist")));
    EXPECT_EQ(playerctl({"loop"}), "Playlist");
    playerctl({"loop", "None"});
    EXPECT_EQ(session().modes(), (PlayModes{Repeat::Off, true, false}));
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

// A disc named by the automatic lookup: its titles and cover reach the desktop's panel.
TEST_F(MprisTest, TitlesAndCoverOfAnAutomaticLookupReachTheBus) {
    const DiscToc toc = audioDisc(12, 250);
    std::vector<int> starts;
    for (const TocTrack& t : toc.tracks) starts.push_back(t.startFrame);
    const QString id = musicBrainzDisc(starts, toc.leadoutFrame, false).id;
    http.respond = [id](const QUrl& url, int) -> HttpReply {
        if (url.path().endsWith(QLatin1String("/front-250")))
            return {HttpError::None, 200, QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(64, 'c'), {}};
        return {HttpError::None,
                200,
                mb::answer(id, {mb::release("r1", QString::fromUtf8("夜の歌"), {{"A", " & "}, {"B", ""}}, "", "",
                                            {{mb::numbered("Song", 12), {id}}})}),
                {}};
    };
    store(QStringLiteral("Lookup Automatically"), QStringLiteral("1"));
    QFile::remove(dir.filePath("Velmora.ini"));  // new to the player again
    start();
    ASSERT_TRUE(app->autoLookup() && app->mpris());
    QSignalSpy cover(app->autoLookup(), &AutoLookup::coverChanged);
    ASSERT_TRUE(cover.wait(5000));
    EXPECT_EQ(playerctl({"metadata", "--format", "{{title}}|{{album}}|{{artist}}|{{mpris:artUrl}}"}),
              QString::fromUtf8("Song 1|夜の歌|A & B|") +
                  QUrl::fromLocalFile(dir.filePath("covers/" + session().disc().ID + ".jpg")).toString());
}
