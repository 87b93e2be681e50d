#include "app/main_face_view.h"

#include "chrome/annunciator.h"
#include "chrome/led_digit.h"
#include "chrome/status_bar.h"
#include "player/player_session.h"
#include "player/readout_time.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <QLabel>
#include <QWidget>

namespace velmora {

namespace {
QString twoDigits(int value) { return QString::number(value).rightJustified(2, u'0'); }

int digitAt(const QString& text, qsizetype fromEnd) {
    const qsizetype i = text.size() - fromEnd;
    return i < 0 ? 0 : static_cast<int>(numericValue(text.mid(i, 1)));
}

void enable(QWidget* control, bool on) {
    if (control) control->setEnabled(on);
}
}  // namespace

MainFaceView::MainFaceView(PlayerSession& session, const MainFaceControls& controls, QObject* parent)
    : QObject(parent), session_(session), c_(controls) {
    connect(&session_, &PlayerSession::stateChanged, this, [this] {
        if (!shown_) return;
        showEnables();
        ShowDiscInfo();  // the kind of disc decides what the labels say
    });
    connect(&session_, &PlayerSession::positionChanged, this, [this] {
        if (!shown_) return;
        showPosition();
        ShowDiscInfo();  // the track title follows the track
    });
    connect(&session_, &PlayerSession::discChanged, this, [this] {
        if (shown_) ShowDiscInfo();
    });
    connect(&session_, &PlayerSession::modesChanged, this, [this] {
        if (!shown_) return;
        showModes();
        showPosition();  // the readout's time may count something else now
    });
    showAll();
}

void MainFaceView::setShown(bool shown) {
    if (shown == shown_) return;
    shown_ = shown;
    if (shown_) showAll();
}

void MainFaceView::showAll() {
    showEnables();
    showPosition();
    ShowDiscInfo();
    showModes();
}

void MainFaceView::showPosition() {
    const PlayerState& s = session_.state();
    const ReadoutTime time = readoutTime(s, session_.timeDisplay());
    ShowTrackTime(twoDigits(time.minutes) + twoDigits(time.seconds));
    if (c_.StatusBar) c_.StatusBar->setWidthTwips(s.barWidthTwips);
    // The track digits are rewritten only when what they show differs from the track.
    if (c_.ledTRK[0] && c_.ledTRK[1]) {
        const int shown = c_.ledTRK[0]->digit() * 10 + c_.ledTRK[1]->digit();
        if (shown != s.CurrentTrack) ShowTrackNumber(twoDigits(s.CurrentTrack));
    }
}

void MainFaceView::showEnables() {
    const TransportEnables& e = session_.state().enables;
    enable(c_.cmdPlay, e.play);
    enable(c_.cmdStop, e.stop);
    enable(c_.cmdPause, e.pause);
    enable(c_.cmdFF, e.jump);
    enable(c_.cmdRR, e.jump);
    enable(c_.cmdForwardTrack, e.next);
    enable(c_.cmdBackTrack, e.previous);
}

void MainFaceView::showModes() {
    const PlayModes& m = session_.modes();
    const auto bit = [](bool on, int i) { return on ? 1u << i : 0u; };
    if (c_.timeShown) c_.timeShown->setLit(1u << static_cast<int>(session_.timeDisplay()));
    if (c_.modesShown)
        c_.modesShown->setLit(bit(m.repeat == Repeat::Track, 0) | bit(m.repeat == Repeat::Disc, 1) | bit(m.shuffle, 2) |
                              bit(m.introScan, 3));
}

void MainFaceView::updateLabel(QLabel* label, const QString& value) {
    if (!label || value == label->text()) return;
    label->setText(value);
    label->setToolTip(value);
    label->repaint();
}

void MainFaceView::ShowDiscInfo() {
    const PlayerState& state = session_.state();
    if (state.discKind != DiscKind::Audio) {
        updateLabel(c_.lblCDName, QStringLiteral(" "));
        updateLabel(c_.lblArtist, state.discKind == DiscKind::Data ? QStringLiteral("Data CD Loaded")
                                                                   : QStringLiteral("No Disc Loaded"));
        updateLabel(c_.lblTrk, QStringLiteral(" "));
        return;
    }
    const DiscRecord& disc = session_.disc();
    updateLabel(c_.lblCDName, disc.Title);
    updateLabel(c_.lblArtist, disc.Artist);
    const int track = state.CurrentTrack;
    updateLabel(c_.lblTrk, track >= 1 && track <= kMaxTracks ? disc.track(track) : QString());
}

void MainFaceView::ShowTrackNumber(const QString& text) {
    if (c_.ledTRK[1]) c_.ledTRK[1]->setDigit(digitAt(text, 1));
    if (c_.ledTRK[0]) c_.ledTRK[0]->setDigit(digitAt(text, 2));
}

void MainFaceView::ShowTrackTime(const QString& text) {
    for (int fromEnd = 1; fromEnd <= 4; ++fromEnd) {
        if (LedDigit* led = c_.ledTRK[static_cast<std::size_t>(6 - fromEnd)]) led->setDigit(digitAt(text, fromEnd));
    }
}

}  // namespace velmora
