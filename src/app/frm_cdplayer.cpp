#include "app/frm_cdplayer.h"

#include "chrome/artwork.h"
#include "chrome/click_area.h"
#include "chrome/face_layout.h"
#include "chrome/led_digit.h"
#include "chrome/picture_button.h"
#include "chrome/popup_menu.h"
#include "chrome/status_bar.h"
#include "chrome/tray_icon.h"
#include "discdb/disc_database.h"
#include "discdb/disc_id.h"
#include "mixer/volume_controls.h"
#include "player/display_refresh.h"
#include "player/mci_channel.h"
#include "player/position_bar.h"
#include "player/track_picker.h"
#include "player/transport.h"
#include "settings/registry_settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

namespace velmora {

namespace {
constexpr int kTwipsPerPixel = 15;

using artwork::TransportButton;

QFont arial(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace

FrmCdplayer::FrmCdplayer(AppServices services) : services_(std::move(services)) {
    setObjectName(QStringLiteral("frmCdplayer"));
    setWindowTitle(QStringLiteral("Velmora"));
    setWindowIcon(artwork::trayIcon());
    setFixedSize(face::kWidth, face::kHeight);
    setSkin(QPixmap::fromImage(artwork::drawSkin(artwork::Skin::BuiltIn)),
            artwork::skinColours(artwork::Skin::BuiltIn).frame);

    mci_ = std::make_unique<MciChannel>(*services_.mci, *services_.boxes, services_.mciLogPath);
    settings_ = std::make_unique<RegistrySettings>(services_.registry, *services_.boxes);
    settingsLoader_ = std::make_unique<SettingsLoader>(SettingsLoader{
        *settings_, state_, services_.programFolder,
        [this](const QString& path) { applySkinFile(path); }, nullptr});
    discDatabase_ = std::make_unique<DiscDatabase>(services_.discDatabasePath);

    createControls();
    wireControls();
}

FrmCdplayer::~FrmCdplayer() = default;

void FrmCdplayer::createControls() {
    const artwork::SkinColours colours = artwork::skinColours(artwork::Skin::BuiltIn);

    tmrUpdate_ = new QTimer(this);
    tmrUpdate_->setObjectName(QStringLiteral("tmrUpdate"));
    tmrUpdate_->setInterval(1000);
    tmrCheckSettings_ = createCheckSettingsTimer(*settingsLoader_, this);
    tmrCheckSettings_->stop();  // runs once the window has loaded

    auto label = [&](const char* name, const QRect& place, const QFont& font, const QColor& colour,
                     const QString& caption = {}) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(place);
        l->setFont(font);
        l->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(colour.name()));
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        return l;
    };
    controls_.lblCDName = label("lblCDName", face::kCDName, arial(10, true), colours.text);
    controls_.lblArtist = label("lblArtist", face::kArtist, arial(9), colours.text);
    controls_.lblTrk = label("lblTrk", face::kTrackTitle, arial(9), colours.text);
    label("Label2", face::kLabelTrack, arial(6, true), colours.caption, QStringLiteral("Track"));
    label("Label1", face::kLabelMinutes, arial(6, true), colours.caption, QStringLiteral("Min"));
    label("Label3", face::kLabelSeconds, arial(6, true), colours.caption, QStringLiteral("Sec"));
    // A static label without a caption: the skin itself marks the volume knob.
    label("Label4", face::kLabelVolume, arial(6, true), colours.bodyText);

    for (int i = 0; i < 6; ++i) {
        auto* led = new LedDigit(this);
        led->setObjectName(QStringLiteral("ledTRK"));
        led->setProperty("index", i);
        led->setGeometry(face::ledRect(i));
        led->setAttribute(Qt::WA_TransparentForMouseEvents);
        controls_.ledTRK[static_cast<std::size_t>(i)] = led;
    }

    picStatus_ = new PositionBarFrame(this);
    picStatus_->setObjectName(QStringLiteral("picStatus"));
    picStatus_->setGeometry(face::kStatus);
    controls_.StatusBar = new StatusBarShape(picStatus_);
    controls_.StatusBar->setObjectName(QStringLiteral("StatusBar"));
    controls_.StatusBar->setGeometry(0, 0, 0, face::kStatus.height());

    picTrack_ = new ClickArea(this);
    picTrack_->setObjectName(QStringLiteral("picTrack"));
    picTrack_->setGeometry(face::kTrackPicker);
    picTrack_->setPixmap(artwork::trackPickerPicture());
    picTrack_->setToolTip(QStringLiteral("Track List Picker"));
    picEditTrackList_ = new ClickArea(this);
    picEditTrackList_->setObjectName(QStringLiteral("picEditTrackList"));
    picEditTrackList_->setGeometry(face::kTrackEditor);
    picEditTrackList_->setPixmap(artwork::trackEditorPicture());
    picEditTrackList_->setToolTip(QStringLiteral("Track List Editor"));

    controls_.TrackList = new QListWidget(this);
    controls_.TrackList->setObjectName(QStringLiteral("TrackList"));
    controls_.TrackList->setGeometry(face::kTrackList);
    controls_.TrackList->setFont(arial(8));
    controls_.TrackList->hide();

    auto transport = [&](const char* name, const QRect& place, TransportButton kind, bool hasDisabled) {
        auto* b = new PictureButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(place);
        b->setPictures(artwork::transportPicture(kind, true),
                       hasDisabled ? artwork::transportPicture(kind, false) : QPixmap(),
                       artwork::transportPicture(kind, true, /*pressed=*/true));
        b->setCursor(artwork::transportCursor());
        return b;
    };
    cmdBackTrack_ = transport("cmdBackTrack", face::kBackTrack, TransportButton::BackTrack, true);
    cmdRR_ = transport("cmdRR", face::kRR, TransportButton::RR, true);
    cmdPlay_ = transport("cmdPlay", face::kPlay, TransportButton::Play, true);
    cmdFF_ = transport("cmdFF", face::kFF, TransportButton::FF, true);
    cmdForwardTrack_ = transport("cmdForwardTrack", face::kForwardTrack, TransportButton::ForwardTrack, true);
    cmdStop_ = transport("cmdStop", face::kStop, TransportButton::Stop, true);
    cmdPause_ = transport("cmdPause", face::kPause, TransportButton::Pause, true);
    cmdEject_ = transport("cmdEject", face::kEject, TransportButton::Eject, false);

    auto chrome = [&](const char* name, const QRect& place, const QPixmap& picture, const QString& tip) {
        auto* b = new PictureButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(place);
        b->setPictures(picture);
        b->setToolTip(tip);
        return b;
    };
    cmdAbout_ = chrome("cmdAbout", face::kAbout, artwork::aboutPicture(), QStringLiteral("About Velmora"));
    cmdMinimize_ = chrome("cmdMinimize", face::kMinimize, artwork::minimizePicture(), QStringLiteral("Minimize"));
    cmdExit2_ = chrome("cmdExit2", face::kExit, artwork::exitPicture(), QStringLiteral("Quit"));

    imgSetup_ = new ClickArea(this);
    imgSetup_->setObjectName(QStringLiteral("imgSetup"));
    imgSetup_->setGeometry(face::kSetup);
    imgSetup_->setToolTip(QStringLiteral("Setup Velmora"));
    imgSetup_->setCursor(artwork::setupCursor());

    menu_ = std::make_unique<PopupMenu>(this);
    tray_ = new TrayIcon(this, menu_->mnuPopUp);
    volume_ = new VolumeControls(this, services_.mixer);

    controls_.frmCdplayer = this;
    controls_.tmrUpdate = tmrUpdate_;
    controls_.cmdPlay = cmdPlay_;
    controls_.mnuPlay = menu_->mnuPlay;
    controls_.cmdStop = cmdStop_;
    controls_.mnuStop = menu_->mnuStop;
    controls_.cmdPause = cmdPause_;
    controls_.mnuPause = menu_->mnuPause;
    controls_.cmdFF = cmdFF_;
    controls_.cmdRR = cmdRR_;
    controls_.cmdForwardTrack = cmdForwardTrack_;
    controls_.mnuNext = menu_->mnuNext;
    controls_.cmdBackTrack = cmdBackTrack_;
    controls_.mnuPrev = menu_->mnuPrev;
    applySkinColours(QString());
}

// Widgets laid over the skin take its display colours; a picture of the user's own gets
// the built-in skin's.
void FrmCdplayer::applySkinColours(const QString& skinFileName) {
    const artwork::SkinColours colours = artwork::skinColoursForFile(skinFileName);
    const QString text = QStringLiteral("color: %1; background: transparent;");
    for (QLabel* l : {controls_.lblCDName, controls_.lblArtist, controls_.lblTrk})
        l->setStyleSheet(text.arg(colours.text.name()));
    for (const char* name : {"Label1", "Label2", "Label3"})
        if (auto* l = findChild<QLabel*>(QLatin1String(name))) l->setStyleSheet(text.arg(colours.caption.name()));
    for (LedDigit* led : controls_.ledTRK) led->setColours(colours.ledOn, colours.ledOff);
    controls_.StatusBar->setColour(colours.barFill);
}

void FrmCdplayer::wireControls() {
    auto letEventsRun = [] { QCoreApplication::processEvents(); };
    refresh_ = std::make_unique<DisplayRefresh>(state_, *mci_, controls_, [this] { identifyDisc(); },
                                                letEventsRun);
    // Until the first refresh has seen a disc, only Eject is of use.
    refresh_->setTransportEnabled(false);
    auto update = [this] { refresh_->UpdateDisplay(); };
    transport_ = std::make_unique<Transport>(state_, *mci_, tmrUpdate_, update);
    positionBar_ = std::make_unique<PositionBar>(state_, *mci_, tmrUpdate_, controls_.StatusBar, update);
    picker_ = std::make_unique<TrackPicker>(state_, *mci_, controls_.TrackList, update);

    connect(tmrUpdate_, &QTimer::timeout, this, [this] { refresh_->tmrUpdate_Timer(); });

    Transport* t = transport_.get();
    connect(cmdPlay_, &QAbstractButton::clicked, this, [t] { t->Play(); });
    connect(cmdPause_, &QAbstractButton::clicked, this, [t] { t->Pause(); });
    connect(cmdStop_, &QAbstractButton::clicked, this, [t] { t->Stop(); });
    connect(cmdEject_, &QAbstractButton::clicked, this, [t] { t->Eject(); });
    connect(cmdForwardTrack_, &QAbstractButton::clicked, this, [t] { t->NextTrack(); });
    connect(cmdBackTrack_, &QAbstractButton::clicked, this, [t] { t->PreviousTrack(); });
    connect(cmdFF_, &QAbstractButton::clicked, this, [t] { t->FastForward(); });
    connect(cmdRR_, &QAbstractButton::clicked, this, [t] { t->Rewind(); });

    // A menu item runs exactly its button's handler.
    connect(menu_->mnuPlay, &QAction::triggered, this, [t] { t->Play(); });
    connect(menu_->mnuPause, &QAction::triggered, this, [t] { t->Pause(); });
    connect(menu_->mnuPrev, &QAction::triggered, this, [t] { t->PreviousTrack(); });
    connect(menu_->mnuNext, &QAction::triggered, this, [t] { t->NextTrack(); });
    connect(menu_->mnuStop, &QAction::triggered, this, [t] { t->Stop(); });
    connect(menu_->mnuEject, &QAction::triggered, this, [t] { t->Eject(); });
    connect(menu_->mnuAR, &QAction::triggered, this, [this] { mnuAR_Click(); });
    connect(menu_->mnuUAR, &QAction::triggered, this, [this] { mnuUAR_Click(); });

    connect(cmdMinimize_, &QAbstractButton::clicked, this, [this] { cmdMinimize_Click(); });
    connect(cmdExit2_, &QAbstractButton::clicked, this, [this] { cmdExit2_Click(); });
    connect(cmdAbout_, &QAbstractButton::clicked, this, [this] { cmdAbout_Click(); });
    connect(imgSetup_, &ClickArea::clicked, this, [this] { imgSetup_Click(); });

    PositionBar* bar = positionBar_.get();
    picStatus_->onMouseDown = [bar](int button, double x, double) { bar->picStatus_MouseDown(button, x); };
    picStatus_->onMouseMove = [bar](int button, double x, double) { bar->picStatus_MouseMove(button, x); };
    picStatus_->onMouseUp = [bar](int button, double x, double) { bar->picStatus_MouseUp(button, x); };

    TrackPicker* picker = picker_.get();
    connect(picTrack_, &ClickArea::clicked, this, [picker] { picker->picTrack_Click(); });
    connect(controls_.TrackList, &QListWidget::itemDoubleClicked, this, [picker] { picker->TrackList_DblClick(); });
}

bool FrmCdplayer::Form_Load() {
    if (!services_.isOnlyInstance()) return false;

    for (QWidget* button : std::initializer_list<QWidget*>{cmdPlay_, cmdStop_, cmdFF_, cmdRR_, cmdForwardTrack_,
                                                           cmdBackTrack_, cmdPause_, cmdEject_})
        RoundButton(button);

    if (!services_.programFolder.isEmpty()) QDir::setCurrent(services_.programFolder);
    settingsLoader_->LoadSettings(true);
    services_.checkAutoRun();
    restorePosition();

    tmrUpdate_->stop();
    state_.SeekStep = 5;

    if (!mci_->SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true)) return false;
    mci_->SendMCIString(QStringLiteral("set cd time format tmsf wait"), true);

    volume_->tmrVolume_Timer();

    identifyDisc();
    refresh_->ShowDiscInfo();
    refresh_->UpdateDisplay();

    tmrUpdate_->start();
    tmrCheckSettings_->start();
    volume_->tmrVolume()->start();

    if (services_.commandLine.toUpper() == QLatin1String("PLAY")) transport_->Play();

    const QString tips = settings_->GetRegKey(HKEY_CURRENT_USER, kSettingsKey,
                                              QStringLiteral("Show Tips at Startup"), QStringLiteral("1"));
    if (settingAsWholeNumber(tips) != 0) services_.showTips();
    return true;
}

void FrmCdplayer::restorePosition() {
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                          : QRect(0, 0, 800, 600);
    const int screenWidth = screen.width() * kTwipsPerPixel;
    const int screenHeight = screen.height() * kTwipsPerPixel;

    int top = settingAsWholeNumber(settings_->GetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Top"),
                                                 QStringLiteral("0")));
    if (top + Height() / 2 > screenHeight || top < -(Height() / 2)) top = 0;
    setTop(top);

    int left = settingAsWholeNumber(settings_->GetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Left"),
                                                  QStringLiteral("0")));
    if (left + Width() / 2 > screenWidth || left < -(Width() / 2)) left = 0;
    setLeft(left);
}

void FrmCdplayer::applySkinFile(const QString& path) {
    // A skin that is missing or not a picture leaves the face as it is.
    QPixmap picture;
    if (!picture.load(path)) return;
    const QString file = QFileInfo(path).fileName();
    setSkin(picture, artwork::skinColoursForFile(file).frame);
    applySkinColours(file);
}

void FrmCdplayer::identifyDisc() {
    const QString id = GetDiscID(*mci_);
    discDatabase_->GetCDINFO(id, state_, *mci_, [this] { refresh_->ShowDiscInfo(); });
}

void FrmCdplayer::hideWindow() { hideMainWindow(this, services_.trayAvailable); }

void FrmCdplayer::Form_Unload(int& Cancel) {
    if (!state_.ExitRequested) {
        hideWindow();
        Cancel = 1;
        return;
    }
    mci_->SendMCIString(QStringLiteral("close all"), false);
    settings_->SetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Top"), QString::number(Top()));
    settings_->SetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Left"), QString::number(Left()));
    tmrUpdate_->stop();
    tmrCheckSettings_->stop();
    volume_->tmrVolume()->stop();
    unloaded_ = true;
}

void FrmCdplayer::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    int Cancel = 0;
    Form_Unload(Cancel);
    if (Cancel) {
        event->ignore();
        return;
    }
    event->accept();
    if (tray_) tray_->cSysTray1()->hide();
    if (services_.endProgram) services_.endProgram();
}

void FrmCdplayer::cmdMinimize_Click() { hideWindow(); }

void FrmCdplayer::cmdExit2_Click() {
    state_.ExitRequested = true;
    close();  // also delivers the close event to a hidden window
}

void FrmCdplayer::mnuUAR_Click() { cmdExit2_Click(); }

void FrmCdplayer::mnuAR_Click() { TrayIcon::RestoreMainWindow(this); }

// The about and settings windows come with their own work; until then the main window
// stays where it is.
void FrmCdplayer::cmdAbout_Click() {}
void FrmCdplayer::imgSetup_Click() {}

}  // namespace velmora
