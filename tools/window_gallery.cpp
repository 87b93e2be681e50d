// Opens each of the player's windows on the demo disc, with a CDDB record served from
// memory, and saves what the display server shows of each as a PNG; the main window
// (screenshot.png) plays the disc shuffled and repeated, into ALSA's null output unless
// VELMORA_PCM names another. Run under Xvfb:
//   xvfb-run -a build/tools/velmora-window-gallery docs
#include "app/app_services.h"
#include "app/frm_cdplayer.h"
#include "app/velmora_app.h"
#include "cddb/ui/frm_query_internet.h"
#include "dialogs/ui/frm_about.h"
#include "dialogs/ui/frm_tip.h"
#include "discdb/ui/frm_add_cd.h"
#include "mixer/null_mixer_volume.h"
#include "platform/browser.h"
#include "platform/clock.h"
#include "platform/drive_selection.h"
#include "platform/http_fetcher.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/ui/qt_message_box.h"
#include "player/player_core.h"
#include "settings/qsettings_registry.h"
#include "settings/ui/frm_settings.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <cstdio>

using namespace velmora;

namespace {

bool save(QWidget* window, const QString& path) {
    window->raise();
    for (int i = 0; i < 30; ++i) QTest::qWait(20);
    const QPixmap shot = window->screen()->grabWindow(window->winId());
    const bool ok = !shot.isNull() && shot.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// Two releases of a disc, as MusicBrainz describes them when it matches the table of contents.
QByteArray musicBrainzReleases(int tracks) {
    QJsonArray releases;
    const std::pair<const char*, const char*> kinds[] = {{"GB", "1999-05-01"}, {"JP", "2004-11-17"}};
    for (const auto& [country, date] : kinds) {
        QJsonArray list;
        for (int i = 1; i <= tracks; ++i)
            list.append(QJsonObject{{"position", i}, {"title", QStringLiteral("Study for strings no. %1").arg(i)}});
        const QJsonObject medium{{"position", 1}, {"format", "CD"}, {"track-count", tracks}, {"tracks", list}};
        releases.append(QJsonObject{
            {"id", QStringLiteral("release-%1").arg(QLatin1String(country))},
            {"title", "Night Studies"},
            {"country", country},
            {"date", date},
            {"artist-credit", QJsonArray{QJsonObject{{"name", "The Velmora Quartet"}, {"joinphrase", " feat. "}},
                                         QJsonObject{{"name", "Ada"}, {"joinphrase", ""}}}},
            {"media", QJsonArray{medium}}});
    }
    return QJsonDocument(QJsonObject{{"releases", releases}}).toJson(QJsonDocument::Compact);
}

QByteArray demoRecord(int tracks) {
    QByteArray body = "210 misc 00000000 CD database entry follows\r\nDTITLE=The Velmora Ensemble / Demo Disc\r\n";
    for (int i = 0; i < tracks; ++i)
        body += "TTITLE" + QByteArray::number(i) + "=Tone study no. " + QByteArray::number(i + 1) + "\r\n";
    return body + ".\r\n";
}

// The master line at two thirds and sounding, so the face shows its knob as a listener's would.
struct SteadyMixer final : NullMixerVolume {
    std::int32_t MainVolume() override { return 43690; }
    bool MainMute() override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (qEnvironmentVariableIsEmpty("VELMORA_PCM")) qputenv("VELMORA_PCM", "null");
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QTemporaryDir dir;
    auto clock = std::make_shared<SteadyClock>();
    MciInterpreter interpreter([clock] {
        return selectDriveFromEnvironment(QStringLiteral(VELMORA_RUNTIME_DIR "/demo/demo.cue"), clock).drive;
    });
    QtMessageBoxService boxes;
    ScriptedHttpFetcher http;
    // The CDDB server knows the disc until `cddbKnows` is cleared; MusicBrainz always does.
    bool cddbKnows = true;
    http.respond = [&cddbKnows](const QUrl& url, int) {
        if (url.path().startsWith(QLatin1String("/ws/2/")))
            return HttpReply{HttpError::None, 200, musicBrainzReleases(12), {}};
        return HttpReply{
            HttpError::None, 200, cddbKnows ? demoRecord(12) : QByteArray("401 misc No such CD entry\r\n"), {}};
    };
    RecordingBrowser browser;
    ScriptedFilePicker files;

    AppServices services;
    services.mci = &interpreter;
    services.boxes = &boxes;
    services.http = &http;
    services.browser = &browser;
    services.files = &files;
    services.registry = qsettingsRegistryFactory(dir.filePath(QStringLiteral("settings.ini")));
    services.mixer = [] { return std::make_unique<SteadyMixer>(); };
    services.programFolder = QStringLiteral(VELMORA_RUNTIME_DIR);  // the skins and tips of the build
    services.discDatabasePath = dir.filePath(QStringLiteral("Velmora.ini"));
    services.logonName = [] { return QStringLiteral("listener@example.org"); };
    services.random = [] { return 0.3; };

    VelmoraApp app(std::move(services));
    if (!app.start()) return 1;
    app.mainWindow().show();
    // The main window with the demo disc, which names itself.
    bool ok = save(&app.mainWindow(), out + QStringLiteral("/screenshot.png"));
    if (FrmTip* tip = app.tipWindow()) {
        ok &= save(tip, out + QStringLiteral("/window-tip.png"));
        tip->close();
    }
    PlayerCore& core = app.core();
    core.transport.SetPlayModes({Repeat::Disc, true, false});
    core.session.setTimeDisplay(TimeDisplay::TrackRemaining);
    core.transport.Play();
    QTest::qWait(3200);
    core.refresh.UpdateDisplay();
    ok &= save(&app.mainWindow(), out + QStringLiteral("/screenshot.png"));
    core.transport.Stop();
    FrmSettings* settings = app.openSettings();
    ok &= save(settings, out + QStringLiteral("/window-settings.png"));
    if (auto* tabs = settings->findChild<QTabWidget*>(QStringLiteral("SSTab1"))) {
        tabs->setCurrentIndex(1);
        ok &= save(settings, out + QStringLiteral("/window-settings-cddb.png"));
        tabs->setCurrentIndex(0);
    }
    settings->close();
    FrmAbout* about = app.openAbout();
    ok &= save(about, out + QStringLiteral("/window-about.png"));
    about->close();
    FrmAddCD* editor = app.openEditor();
    // The lookup window with a CDDB record, then with MusicBrainz's when the CDDB server has none.
    for (const char* picture : {"/window-lookup.png", "/window-lookup-musicbrainz.png"}) {
        FrmQueryInterNet* lookup = app.openLookup();
        if (!lookup) return 1;
        bool ended = false;  // the scripted server answers from the event loop
        QObject::connect(lookup, &FrmQueryInterNet::lookupEnded, [&ended] { ended = true; });
        lookup->tmrCheckNet_Timer();
        if (!QTest::qWaitFor([&ended] { return ended; })) return 1;
        ok &= save(lookup, out + QLatin1String(picture));
        lookup->cmdMerge_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (cddbKnows) ok &= save(editor, out + QStringLiteral("/window-editor.png"));
        cddbKnows = false;
    }
    editor->close();
    app.quit();
    return ok ? 0 : 1;
}
