#include "app/velmora_app.h"

#include "app/auto_lookup.h"
#include "app/frm_cdplayer.h"
#include "app/mpris/mpris_service.h"
#include "app/play_mode_settings.h"
#include "cddb/musicbrainz_fetcher.h"
#include "cddb/toc_disc_id.h"
#include "cddb/ui/frm_query_internet.h"
#include "chrome/tray_icon.h"
#include "dialogs/ui/frm_about.h"
#include "dialogs/ui/frm_tip.h"
#include "discdb/ui/frm_add_cd.h"
#include "discdb/disc_database.h"
#include "platform/message_box.h"
#include "player/disc_identity.h"
#include "player/mci_channel.h"
#include "player/player_core.h"
#include "settings/active_settings.h"
#include "settings/settings_store.h"
#include "settings/ui/frm_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

namespace velmora {

VelmoraApp::VelmoraApp(AppServices services) : services_(std::move(services)) {
    MessageBoxService& boxes = *services_.boxes;
    mci_ = std::make_unique<MciChannel>(*services_.mci, boxes, services_.mciLogPath);
    store_ = std::make_unique<SettingsStore>(
        services_.registry, [&boxes](const QString& routine, const RegistryError& error) {
            boxes.show(criticalErrorText(routine, error), QStringLiteral("CRITICAL ERROR"),
                       MsgBox::Critical | MsgBox::OkOnly);
        });
    settings_ = std::make_unique<ActiveSettings>(*store_, services_.programFolder, services_.logonName);
    database_ = std::make_unique<DiscDatabase>(services_.discDatabasePath);
    core_ = std::make_unique<PlayerCore>(*mci_, *database_, services_.random);
    window_ = std::make_unique<FrmCdplayer>(*core_, services_.mixer, services_.trayAvailable);

    FrmCdplayer* window = window_.get();
    core_->refresh.setGate([window] { return window->isShownToUser(); });
    QObject::connect(settings_.get(), &ActiveSettings::skinChosen, window, &FrmCdplayer::applySkinFile);
    QObject::connect(&core_->session, &PlayerSession::problem, window, [&boxes](const QString& text) {
        boxes.show(text, QStringLiteral("Velmora"), MsgBox::Information | MsgBox::OkOnly);
    });
    FrmCdplayer::Actions actions;
    actions.quit = [this] { quit(); };
    actions.unload = [this](int& Cancel) { Form_Unload(Cancel); };
    actions.editTrackList = [this] { openEditor(); };
    actions.setup = [this] { openSettings(); };
    actions.about = [this] { openAbout(); };
    window_->setActions(std::move(actions));

    if (services_.http) {
        musicBrainz_ = std::make_unique<MusicBrainzFetcher>(*services_.http);
        autoLookup_ = std::make_unique<AutoLookup>(
            *core_, *database_, *settings_, *musicBrainz_, *services_.http,
            services_.coverFolder.isEmpty() ? CoverCache::defaultFolder() : services_.coverFolder);
        autoLookup_->setGate([this] { return !editor_ && !exitRequested_; });
    }
    if (services_.mediaBus) {
        mpris_ = std::make_unique<MprisService>(
            services_.mediaBus(), *core_, window_->volume(), [window] { TrayIcon::RestoreMainWindow(window); },
            [this] { quit(); });
        if (!mpris_->registered()) mpris_.reset();  // no bus: the player runs on without it
    }
    if (mpris_ && autoLookup_) {
        AutoLookup* lookup = autoLookup_.get();
        mpris_->setArtUrl([lookup] { return lookup->coverUrl(); });
        QObject::connect(lookup, &AutoLookup::coverChanged, mpris_.get(), &MprisService::refreshMetadata);
    }
}

VelmoraApp::~VelmoraApp() {
    mpris_.reset();
    autoLookup_.reset();
    // Windows still open go before the services they work on.
    delete lookupWindow_.data();
    delete editor_.data();
    delete settingsWindow_.data();
    delete aboutWindow_.data();
    delete tipWindow_.data();
}

bool VelmoraApp::start() {
    if (!services_.isOnlyInstance()) return false;
    window_->RoundTransportButtons();
    if (!services_.programFolder.isEmpty()) QDir::setCurrent(services_.programFolder);
    settings_->LoadSettings(true);
    services_.checkAutoRun();
    const int top = store_->readWholeNumber(settings::Top);
    const int left = store_->readWholeNumber(settings::Left);
    window_->restorePosition(top, left);

    PlayerSession& session = core_->session;
    // The modes of the last run; nothing is playing yet, so nothing is sent.
    const StoredPlayModes stored = readPlayModes(*store_);
    core_->transport.SetPlayModes(stored.modes);
    session.setTimeDisplay(stored.timeShown);
    QObject::connect(&session, &PlayerSession::modesChanged, &session, [this, &session] {
        writePlayModes(*store_, {session.modes(), session.timeDisplay()});
    });
    session.tmrUpdate()->stop();
    session.setSeekStep(5);
    if (!mci_->SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true)) return false;
    mci_->SendMCIString(QStringLiteral("set cd time format tmsf wait"), true);

    window_->volume().poll();
    core_->identity.identifyDisc();
    core_->refresh.UpdateDisplay();

    session.tmrUpdate()->start();
    settings_->tmrCheckSettings()->start();
    window_->volume().tmrVolume()->start();

    if (services_.commandLine.toUpper() == QLatin1String("PLAY")) core_->transport.Play();
    if (store_->readWholeNumber(settings::ShowTips) != 0) showTips();
    return true;
}

FrmAddCD* VelmoraApp::editor() const { return editor_.data(); }
FrmQueryInterNet* VelmoraApp::lookupWindow() const { return lookupWindow_.data(); }
FrmSettings* VelmoraApp::settingsWindow() const { return settingsWindow_.data(); }
FrmAbout* VelmoraApp::aboutWindow() const { return aboutWindow_.data(); }
FrmTip* VelmoraApp::tipWindow() const { return tipWindow_.data(); }

FrmAddCD* VelmoraApp::openEditor() {
    if (editor_) {
        editor_->raise();
        return editor_;
    }
    PlayerSession& session = core_->session;
    // What the user types wins: a lookup under way ends unwritten.
    if (autoLookup_) autoLookup_->cancel();
    editor_ = new FrmAddCD(*database_, *services_.boxes);
    QObject::connect(
        editor_.data(), &FrmAddCD::titlesChanged, &session,
        [&session](const QString& discId, const DiscRecord& record) { session.takeEditedDisc(discId, record); });
    QObject::connect(editor_.data(), &FrmAddCD::locateRequested, editor_.data(), [this] { openLookup(); });
    // The lookup window goes with the editor, so a merge never reaches a closed one.
    QObject::connect(editor_.data(), &FrmAddCD::closed, editor_.data(), [this] {
        if (lookupWindow_) lookupWindow_->close();
    });
    standInForMainWindow(editor_.data());
    // The disc in the drive now: the editor saves under its ID.
    editorToc_ = readDiscTocReplies(*mci_);
    editor_->Form_Load(discIdFromReplies(editorToc_), session.disc());
    return editor_;
}

template <typename Window>
void VelmoraApp::standInForMainWindow(Window* window) {
    FrmCdplayer* main = window_.get();
    main->hide();
    QObject::connect(window, &Window::closed, main, [main] { TrayIcon::RestoreMainWindow(main); });
}

FrmSettings* VelmoraApp::openSettings() {
    if (settingsWindow_) {
        settingsWindow_->raise();
        return settingsWindow_;
    }
    settingsWindow_ = new FrmSettings(*store_, *settings_, services_.programFolder, *services_.files,
                                      *services_.browser, *services_.boxes);
    standInForMainWindow(settingsWindow_.data());
    settingsWindow_->Form_Load();
    return settingsWindow_;
}

FrmAbout* VelmoraApp::openAbout() {
    if (aboutWindow_) {
        aboutWindow_->raise();
        return aboutWindow_;
    }
    aboutWindow_ = new FrmAbout(*services_.browser, FrmAbout::homePageFor(services_.programFolder));
    standInForMainWindow(aboutWindow_.data());
    aboutWindow_->Form_Load();
    return aboutWindow_;
}

FrmTip* VelmoraApp::showTips() {
    if (!tipWindow_) {
        tipWindow_ = new FrmTip(*store_, services_.programFolder, services_.random);
        tipWindow_->Form_Load();
    }
    tipWindow_->show();
    return tipWindow_;
}

FrmQueryInterNet* VelmoraApp::openLookup() {
    if (!editor_ || !services_.http) return nullptr;
    if (lookupWindow_) {
        lookupWindow_->raise();
        return lookupWindow_;
    }
    CddbLookup lookup{settings_->ActiveCDDBServer(), settings_->ActiveUserName(), cddbDiscIdFromToc(editorToc_)};
    const bool lastIsData = lastTrackIsData(*mci_, editorToc_);
    MusicBrainzSource musicBrainz{
        musicBrainz_.get(), {settings_->ActiveMusicBrainzServer(), musicBrainzDiscFromToc(editorToc_, lastIsData)}};
    lookupWindow_ = new FrmQueryInterNet(std::move(lookup), *services_.http, *services_.boxes, std::move(musicBrainz));
    QObject::connect(lookupWindow_.data(), &FrmQueryInterNet::titlesChosen, editor_.data(), &FrmAddCD::mergeTitles);
    // A merged MusicBrainz record brings the release's cover for the disc the editor saves.
    QObject::connect(lookupWindow_.data(), &FrmQueryInterNet::releaseChosen, editor_.data(),
                     [this](const QString& releaseId) {
                         if (autoLookup_ && editor_) autoLookup_->fetchCover(editor_->discId(), releaseId);
                     });
    lookupWindow_->Form_Load();
    lookupWindow_->show();
    return lookupWindow_;
}

void VelmoraApp::quit() {
    if (autoLookup_) autoLookup_->cancel();
    // An open editor saves what was typed before the program goes.
    if (editor_) editor_->close();
    exitRequested_ = true;
    window_->close();  // a hidden window gets its close event too
    if (ended_ && services_.endProgram) services_.endProgram();
}

void VelmoraApp::Form_Unload(int& Cancel) {
    if (!exitRequested_) {
        window_->hideWindow();
        Cancel = 1;
        return;
    }
    mci_->SendMCIString(QStringLiteral("close all"), false);
    store_->write(settings::Top, QString::number(window_->Top()));
    store_->write(settings::Left, QString::number(window_->Left()));
    core_->session.tmrUpdate()->stop();
    settings_->tmrCheckSettings()->stop();
    window_->volume().tmrVolume()->stop();
    ended_ = true;
}

}  // namespace velmora
