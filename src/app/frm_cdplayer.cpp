#include "app/frm_cdplayer.h"

#include "chrome/annunciator.h"
#include "chrome/artwork.h"
#include "chrome/click_area.h"
#include "chrome/face_layout.h"
#include "chrome/led_digit.h"
#include "chrome/picture_button.h"
#include "chrome/popup_menu.h"
#include "chrome/skin_picture.h"
#include "chrome/status_bar.h"
#include "chrome/tray_icon.h"
#include "chrome/volume_knob.h"
#include "platform/ui/window_shape.h"
#include "player/player_core.h"
#include "shared/units.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>

namespace velmora {

namespace {

using artwork::TransportButton;

QFont arial(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace

FrmCdplayer::FrmCdplayer(PlayerCore& core, MixerFactory mixer, bool trayAvailable)
    : core_(core), trayAvailable_(trayAvailable) {
    setObjectName(QStringLiteral("frmCdplayer"));
    setWindowTitle(QStringLiteral("Velmora"));
    setWindowIcon(artwork::trayIcon());
    setFixedSize(face::kWidth, face::kHeight);
    setSkin(QPixmap::fromImage(artwork::drawSkin(artwork::Skin::BuiltIn)),
            artwork::skinColours(artwork::Skin::BuiltIn).frame);

    const MainFaceControls controls = createControls();
    volume_ = new MasterVolume(std::move(mixer), this);
    view_ = std::make_unique<MainFaceView>(core_.session, controls);
    applySkinColours(QString());
    wireControls();
}

FrmCdplayer::~FrmCdplayer() = default;

MainFaceControls FrmCdplayer::createControls() {
    MainFaceControls controls;
    const artwork::SkinColours colours = artwork::skinColours(artwork::Skin::BuiltIn);

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
    controls.lblCDName = label("lblCDName", face::kCDName, arial(10, true), colours.text);
    controls.lblArtist = label("lblArtist", face::kArtist, arial(9), colours.text);
    controls.lblTrk = label("lblTrk", face::kTrackTitle, arial(9), colours.text);
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
        controls.ledTRK[static_cast<std::size_t>(i)] = led;
    }

    auto annunciator = [&](const char* name, const QRect& place, const QStringList& words) {
        auto* row = new Annunciator(words, this);
        row->setObjectName(QLatin1String(name));
        row->setGeometry(place);
        row->setAttribute(Qt::WA_TransparentForMouseEvents);
        return row;
    };
    controls.timeShown = annunciator("ledTimeShown", face::kTimeShown, {"ELAPSED", "TRACK LEFT", "DISC LEFT"});
    controls.modesShown = annunciator("ledModes", face::kModesShown, {"REPEAT 1", "REPEAT ALL", "SHUFFLE", "INTRO"});
    picReadout_ = new ClickArea(this);
    picReadout_->setObjectName(QStringLiteral("picReadout"));
    picReadout_->setGeometry(face::kReadout);
    picReadout_->setToolTip(QStringLiteral("Time Shown: Elapsed, Left in the Track, Left on the Disc"));

    picStatus_ = new PositionBarFrame(this);
    picStatus_->setObjectName(QStringLiteral("picStatus"));
    picStatus_->setGeometry(face::kStatus);
    controls.StatusBar = new StatusBarShape(picStatus_);
    controls.StatusBar->setObjectName(QStringLiteral("StatusBar"));
    controls.StatusBar->setGeometry(0, 0, 0, face::kStatus.height());

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

    TrackList_ = new QListWidget(this);
    TrackList_->setObjectName(QStringLiteral("TrackList"));
    TrackList_->setGeometry(face::kTrackList);
    TrackList_->setFont(arial(8));
    TrackList_->hide();

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

    sldMain_ = new VolumeKnob(this);
    sldMain_->setObjectName(QStringLiteral("sldMain"));
    sldMain_->setGeometry(face::kVolumeKnob);
    sldMain_->setRange(0, 65535);
    sldMain_->setSingleStep(1024);
    sldMain_->setPageStep(8192);
    sldMain_->setToolTip(QStringLiteral("Volume"));
    auto muteImage = [&](const char* name, const QString& tip, const QPixmap& picture) {
        auto* image = new ClickArea(this);
        image->setObjectName(QLatin1String(name));
        image->setGeometry(face::kMute);
        image->setPixmap(picture);
        image->setAlignment(Qt::AlignCenter);
        image->setToolTip(tip);
        image->setCursor(Qt::PointingHandCursor);
        image->setAttribute(Qt::WA_TranslucentBackground);
        return image;
    };
    // Design state: audible, until the first poll reads the mixer.
    imgMute_ = muteImage("imgMute", QStringLiteral("Mute Volume"), artwork::muteImage());
    imgUnmute_ = muteImage("imgUnmute", QStringLiteral("Un-Mute Volume"), artwork::unmuteImage());
    imgUnmute_->setVisible(false);

    menu_ = std::make_unique<PopupMenu>(this);
    tray_ = new TrayIcon(this, menu_->mnuPopUp);

    controls.cmdPlay = cmdPlay_;
    controls.cmdStop = cmdStop_;
    controls.cmdPause = cmdPause_;
    controls.cmdFF = cmdFF_;
    controls.cmdRR = cmdRR_;
    controls.cmdForwardTrack = cmdForwardTrack_;
    controls.cmdBackTrack = cmdBackTrack_;
    return controls;
}

// Widgets laid over the skin take its display colours; a picture of the user's own gets
// the built-in skin's.
void FrmCdplayer::applySkinColours(const QString& skinFileName) {
    const artwork::SkinColours colours = artwork::skinColoursForFile(skinFileName);
    const MainFaceControls& controls = view_->controls();
    const QString text = QStringLiteral("color: %1; background: transparent;");
    for (QLabel* l : {controls.lblCDName, controls.lblArtist, controls.lblTrk})
        l->setStyleSheet(text.arg(colours.text.name()));
    for (const char* name : {"Label1", "Label2", "Label3"})
        if (auto* l = findChild<QLabel*>(QLatin1String(name))) l->setStyleSheet(text.arg(colours.caption.name()));
    for (LedDigit* led : controls.ledTRK) led->setColours(colours.ledOn, colours.ledOff);
    for (Annunciator* row : {controls.timeShown, controls.modesShown}) row->setColours(colours.ledOn, colours.ledOff);
    controls.StatusBar->setColour(colours.barFill);
}

void FrmCdplayer::wireControls() {
    Transport* t = &core_.transport;
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
    // The menu is used most while the face is put away: its items follow the session always.
    connect(&core_.session, &PlayerSession::stateChanged, this, &FrmCdplayer::showMenuEnables);
    showMenuEnables();
    connect(menu_->mnuUAR, &QAction::triggered, this, [this] { mnuUAR_Click(); });

    connect(cmdMinimize_, &QAbstractButton::clicked, this, [this] { cmdMinimize_Click(); });
    connect(cmdExit2_, &QAbstractButton::clicked, this, [this] { cmdExit2_Click(); });
    connect(cmdAbout_, &QAbstractButton::clicked, this, [this] { cmdAbout_Click(); });
    connect(imgSetup_, &ClickArea::clicked, this, [this] { imgSetup_Click(); });

    PositionBar* bar = &core_.positionBar;
    picStatus_->onMouseDown = [bar](int button, double x, double) { bar->picStatus_MouseDown(button, x); };
    picStatus_->onMouseMove = [bar](int button, double x, double) { bar->picStatus_MouseMove(button, x); };
    picStatus_->onMouseUp = [bar](int button, double x, double) { bar->picStatus_MouseUp(button, x); };

    wireKeys();
    wireModes();
    wireVolume();

    connect(picTrack_, &ClickArea::clicked, this, [this] { picTrack_Click(); });
    connect(picEditTrackList_, &ClickArea::clicked, this, [this] { picEditTrackList_Click(); });
    connect(TrackList_, &QListWidget::itemDoubleClicked, this, [this] { TrackList_DblClick(); });
}

// Each key presses its button, so a key does nothing while its button is disabled.
void FrmCdplayer::wireKeys() {
    auto key = [this](const QKeySequence& sequence, const char* name, auto press) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setObjectName(QLatin1String(name));
        connect(shortcut, &QShortcut::activated, this, press);
    };
    auto press = [](QAbstractButton* button) { return [button] { button->click(); }; };
    key(Qt::Key_Space, "keyPlayPause", [this] { (cmdPause_->isEnabled() ? cmdPause_ : cmdPlay_)->click(); });
    key(Qt::Key_S, "keyStop", press(cmdStop_));
    key(Qt::Key_Right, "keyForward", press(cmdFF_));
    key(Qt::Key_Left, "keyBack", press(cmdRR_));
    key(Qt::Key_PageDown, "keyNextTrack", press(cmdForwardTrack_));
    key(Qt::Key_PageUp, "keyPreviousTrack", press(cmdBackTrack_));
    key(Qt::Key_E, "keyEject", press(cmdEject_));
    key(QKeySequence(Qt::CTRL | Qt::Key_Q), "keyQuit", press(cmdExit2_));
    key(Qt::Key_R, "keyRepeat", [this] { changeModes([](PlayModes& m) { m.repeat = nextRepeat(m.repeat); }); });
    key(Qt::Key_H, "keyShuffle", [this] { changeModes([](PlayModes& m) { m.shuffle = !m.shuffle; }); });
    key(Qt::Key_I, "keyIntroScan", [this] { changeModes([](PlayModes& m) { m.introScan = !m.introScan; }); });
    key(Qt::Key_T, "keyTimeShown", [this] { picReadout_Click(); });
}

template <typename Change>
void FrmCdplayer::changeModes(Change change) {
    PlayModes modes = core_.session.modes();
    change(modes);
    core_.transport.SetPlayModes(modes);
}

// The check items say what the modes are; a click asks for the mode its check now shows.
void FrmCdplayer::wireModes() {
    connect(menu_->mnuRepeatTrack, &QAction::triggered, this,
            [this](bool on) { changeModes([on](PlayModes& m) { m.repeat = on ? Repeat::Track : Repeat::Off; }); });
    connect(menu_->mnuRepeatDisc, &QAction::triggered, this,
            [this](bool on) { changeModes([on](PlayModes& m) { m.repeat = on ? Repeat::Disc : Repeat::Off; }); });
    connect(menu_->mnuShuffle, &QAction::triggered, this,
            [this](bool on) { changeModes([on](PlayModes& m) { m.shuffle = on; }); });
    connect(menu_->mnuIntroScan, &QAction::triggered, this,
            [this](bool on) { changeModes([on](PlayModes& m) { m.introScan = on; }); });
    connect(picReadout_, &ClickArea::clicked, this, [this] { picReadout_Click(); });
    connect(&core_.session, &PlayerSession::modesChanged, this, &FrmCdplayer::showMenuModes);
    showMenuModes();
}

void FrmCdplayer::picReadout_Click() { core_.session.setTimeDisplay(nextTimeDisplay(core_.session.timeDisplay())); }

void FrmCdplayer::wireVolume() {
    volume_->setGate([this] { return isShownToUser(); });
    connect(volume_, &MasterVolume::polled, this, &FrmCdplayer::showVolume);
    connect(sldMain_, &QDial::valueChanged, this, [this] { sldMain_Change(); });
    connect(imgMute_, &ClickArea::clicked, this, [this] { imgMute_Click(); });
    connect(imgUnmute_, &ClickArea::clicked, this, [this] { imgUnmute_Click(); });
}

// A volume of -1 (no usable mixer) shows as 0 with the knob's LED dark.
void FrmCdplayer::showVolume(int volume, bool muted) {
    sldMain_->setUnavailable(volume < 0);
    // Leave a knob that is being dragged alone; the drag's own writes decide the volume.
    if (!sldMain_->isSliderDown()) {
        settingVolumeFromPoll_ = true;
        sldMain_->setValue(std::clamp(volume, 0, 65535));
        settingVolumeFromPoll_ = false;
    }
    imgUnmute_->setVisible(muted);
    imgMute_->setVisible(!muted);
}

// A value the poll just read needs no writing back.
void FrmCdplayer::sldMain_Change() {
    if (!settingVolumeFromPoll_) volume_->setVolume(sldMain_->value());
}

// The images follow the mixer, not the click: the poll right after decides them.
void FrmCdplayer::imgMute_Click() {
    volume_->setMute(true);
    volume_->poll();
}

void FrmCdplayer::imgUnmute_Click() {
    volume_->setMute(false);
    volume_->poll();
}

void FrmCdplayer::RoundTransportButtons() {
    for (QWidget* button : std::initializer_list<QWidget*>{cmdPlay_, cmdStop_, cmdFF_, cmdRR_, cmdForwardTrack_,
                                                           cmdBackTrack_, cmdPause_, cmdEject_})
        RoundButton(button);
}

int placeOnScreen(int place, int size, int screenSize) {
    return (place + size / 2 > screenSize || place < -(size / 2)) ? 0 : place;
}

void FrmCdplayer::restorePosition(int top, int left) {
    const QRect screen = screenGeometry();
    setTop(placeOnScreen(top, Height(), screen.height() * kTwipsPerPixel));
    setLeft(placeOnScreen(left, Width(), screen.width() * kTwipsPerPixel));
}

void FrmCdplayer::applySkinFile(const QString& path) {
    // A skin that is missing or not a whole picture leaves the face as it is.
    const QImage picture = readSkinPicture(path);
    if (picture.isNull()) return;
    const QString file = QFileInfo(path).fileName();
    setSkin(QPixmap::fromImage(picture), artwork::skinColoursForFile(file).frame);
    applySkinColours(file);
}

bool FrmCdplayer::isShownToUser() const { return isVisible() && !isMinimized(); }

void FrmCdplayer::showMenuEnables() {
    const TransportEnables& e = core_.session.state().enables;
    menu_->mnuPlay->setEnabled(e.play);
    menu_->mnuStop->setEnabled(e.stop);
    menu_->mnuPause->setEnabled(e.pause);
    menu_->mnuNext->setEnabled(e.next);
    menu_->mnuPrev->setEnabled(e.previous);
}

void FrmCdplayer::showMenuModes() {
    const PlayModes& m = core_.session.modes();
    menu_->mnuRepeatTrack->setChecked(m.repeat == Repeat::Track);
    menu_->mnuRepeatDisc->setChecked(m.repeat == Repeat::Disc);
    menu_->mnuShuffle->setChecked(m.shuffle);
    menu_->mnuIntroScan->setChecked(m.introScan);
}

void FrmCdplayer::showEvent(QShowEvent* event) {
    SkinnedWindow::showEvent(event);
    view_->setShown(isShownToUser());
}

void FrmCdplayer::hideEvent(QHideEvent* event) {
    SkinnedWindow::hideEvent(event);
    view_->setShown(false);
}

void FrmCdplayer::changeEvent(QEvent* event) {
    SkinnedWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) view_->setShown(isShownToUser());
}

void FrmCdplayer::hideWindow() { hideMainWindow(this, trayAvailable_); }

void FrmCdplayer::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    int Cancel = 0;
    if (actions_.unload) actions_.unload(Cancel);
    if (Cancel) {
        event->ignore();
        return;
    }
    unloaded_ = true;
    event->accept();
    if (tray_) tray_->cSysTray1()->hide();
}

void FrmCdplayer::cmdMinimize_Click() { hideWindow(); }

void FrmCdplayer::cmdExit2_Click() {
    if (actions_.quit) actions_.quit();
}

void FrmCdplayer::mnuUAR_Click() { cmdExit2_Click(); }

void FrmCdplayer::mnuAR_Click() { TrayIcon::RestoreMainWindow(this); }

void FrmCdplayer::cmdAbout_Click() {
    if (actions_.about) actions_.about();
}

void FrmCdplayer::imgSetup_Click() {
    if (actions_.setup) actions_.setup();
}

void FrmCdplayer::picTrack_Click() {
    if (TrackList_->isVisible()) {
        TrackList_->hide();
        return;
    }
    TrackList_->clear();
    TrackList_->addItems(core_.picker.lines());
    TrackList_->show();
    TrackList_->raise();
}

void FrmCdplayer::TrackList_DblClick() {
    TrackList_->hide();
    for (int k = 1; k <= TrackList_->count(); ++k)
        if (TrackList_->item(k - 1)->isSelected()) core_.picker.pick(k);
}

void FrmCdplayer::picEditTrackList_Click() {
    if (actions_.editTrackList) actions_.editTrackList();
}

}  // namespace velmora
