#include "player/display_refresh.h"

#include "chrome/led_digit.h"
#include "chrome/status_bar.h"
#include "player/mci_channel.h"
#include "shared/player_state.h"
#include "shared/reply_parse.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <limits>

namespace velmora {

namespace {
constexpr int kReplyBuffer = 30;
constexpr int kBarTwips = 1670;
const QString kNoDisc = QStringLiteral("No Disc Loaded");
const QString kDataDisc = QStringLiteral("Data CD Loaded");

QString twoDigits(int value) { return QString::number(value).rightJustified(2, u'0'); }

int digitAt(const QString& text, qsizetype fromEnd) {
    const qsizetype i = text.size() - fromEnd;
    return i < 0 ? 0 : static_cast<int>(numericValue(text.mid(i, 1)));
}

QString trimmedRight(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ') --end;
    return text.left(end);
}

void setEnabled(QWidget* w, bool on) {
    if (w) w->setEnabled(on);
}
void setEnabled(QAction* a, bool on) {
    if (a) a->setEnabled(on);
}
}  // namespace

DisplayRefresh::DisplayRefresh(PlayerState& state, MciChannel& mci, const MainControls& controls,
                               std::function<void()> identifyDisc,
                               std::function<void()> letEventsRun)
    : state_(state), mci_(mci), controls_(controls), identifyDisc_(std::move(identifyDisc)),
      letEventsRun_(std::move(letEventsRun)) {}

void DisplayRefresh::tmrUpdate_Timer() {
    if (controls_.frmCdplayer && controls_.frmCdplayer->isVisible()) UpdateDisplay();
}

void DisplayRefresh::UpdateDisplay() {
    const QString present = mci_.plainSend(QStringLiteral("status cd media present"), kReplyBuffer);
    if (letEventsRun_) letEventsRun_();

    if (present.startsWith(QLatin1String("true"), Qt::CaseInsensitive)) {
        const QString type = mci_.plainSend(QStringLiteral("status cd type track 1"), kReplyBuffer);
        if (type.left(5) != QLatin1String("audio")) {
            state_.CurrentDisc.Artist = kDataDisc;
            setTransportEnabled(false);
            ShowDiscInfo();
            return;
        }

        if (state_.CurrentDisc.ID.isEmpty() || state_.CurrentDisc.ID == QLatin1String("0")) {
            if (identifyDisc_) identifyDisc_();
        }

        const QString count =
            mci_.plainSend(QStringLiteral("status cd number of tracks wait"), kReplyBuffer);
        const auto tracks = wholeNumberAt(count, 1, 2);
        state_.NumTracks = static_cast<std::int16_t>(tracks);

        // A count of 0 (or none) leaves the lengths of the last disc in place.
        if (state_.NumTracks >= 1) {
            QStringList lengths;
            lengths.reserve(state_.NumTracks);
            for (int n = 1; n <= state_.NumTracks; ++n) {
                state_.MciCommand = QStringLiteral("status cd length track ") + QString::number(n);
                lengths.append(mci_.plainSend(state_.MciCommand, kReplyBuffer));
                if (letEventsRun_) letEventsRun_();
            }
            state_.TrackLengths = std::move(lengths);
        }

        // An empty reply keeps the last position rather than jumping to 0.
        const QString position = mci_.plainSend(QStringLiteral("status cd position"), kReplyBuffer);
        if (!position.isEmpty()) {
            state_.CurrentTrack = static_cast<std::int16_t>(wholeNumberAt(position, 1, 2));
            state_.CurrentMinute = static_cast<std::int16_t>(wholeNumberAt(position, 4, 5));
            state_.CurrentSecond = static_cast<std::int16_t>(wholeNumberAt(position, 7, 8));
        }

        ShowTrackTime(twoDigits(state_.CurrentMinute) + twoDigits(state_.CurrentSecond));

        const QString length = state_.trackLength(state_.CurrentTrack);
        const int lengthSeconds = length.isEmpty() ? 0 : lengthInSeconds(length);
        if (lengthSeconds == 0) {
            state_.ProgressWidth = 0;
            if (controls_.StatusBar) controls_.StatusBar->setWidthTwips(0);
        } else {
            const int elapsed = state_.CurrentMinute * 60 + state_.CurrentSecond;
            const double width = std::floor(static_cast<double>(elapsed) / lengthSeconds * kBarTwips);
            // A width that does not fit the bar's scale is not drawn at all.
            if (width >= std::numeric_limits<std::int16_t>::min() &&
                width <= std::numeric_limits<std::int16_t>::max()) {
                state_.ProgressWidth = static_cast<std::int16_t>(width);
                if (controls_.StatusBar) controls_.StatusBar->setWidthTwips(state_.ProgressWidth);
            }
        }

        if (controls_.ledTRK[0] && controls_.ledTRK[1]) {
            const int shown = controls_.ledTRK[0]->digit() * 10 + controls_.ledTRK[1]->digit();
            if (shown != state_.CurrentTrack) ShowTrackNumber(twoDigits(state_.CurrentTrack));
        }

        if (state_.CurrentDisc.ID.isEmpty() && identifyDisc_) identifyDisc_();

        const QString mode = mci_.plainSend(QStringLiteral("status cd mode"), kReplyBuffer);
        state_.Playing = mode.left(7) == QLatin1String("playing");
        enableByPlaying(state_.Playing);
    } else {
        setTransportEnabled(false);
        auto& disc = state_.CurrentDisc;
        disc.Artist = kNoDisc;
        disc.Title.clear();
        disc.ID.clear();
        disc.NumberOfTracks = 0;
        disc.Extra.clear();
        disc.Revision = 1;
    }

    ShowDiscInfo();
    if (letEventsRun_) letEventsRun_();
}

void DisplayRefresh::updateLabel(QLabel* label, const QString& value) {
    if (!label) return;
    // Texts from the disc database end in a NUL; the label shows what comes before it.
    // Comparing that part keeps the label from being repainted once a second.
    const QString shown = beforeNul(value);
    if (shown == label->text()) return;
    label->setText(shown);
    label->setToolTip(shown);
    label->repaint();
}

void DisplayRefresh::ShowDiscInfo() {
    auto& disc = state_.CurrentDisc;
    const QString artist = trimmedRight(disc.Artist);
    if (artist == kNoDisc || artist == kDataDisc) {
        disc.ID.clear();
        if (controls_.lblCDName) controls_.lblCDName->setText(QStringLiteral(" "));
        if (controls_.lblArtist) controls_.lblArtist->setText(artist);
        if (controls_.lblTrk) controls_.lblTrk->setText(QStringLiteral(" "));
        return;
    }

    updateLabel(controls_.lblCDName, disc.Title);
    updateLabel(controls_.lblArtist, disc.Artist);

    if (QLabel* label = controls_.lblTrk) {
        if (state_.CurrentTrack >= 1 && state_.CurrentTrack <= 20) {
            const QString title = beforeNul(disc.track(state_.CurrentTrack));
            label->setText(title);
            label->setToolTip(title);
        } else {
            label->setText(QString());
        }
        label->repaint();
    }
}

void DisplayRefresh::ShowTrackNumber(const QString& text) {
    if (controls_.ledTRK[1]) controls_.ledTRK[1]->setDigit(digitAt(text, 1));
    if (controls_.ledTRK[0]) controls_.ledTRK[0]->setDigit(digitAt(text, 2));
}

void DisplayRefresh::ShowTrackTime(const QString& text) {
    for (int fromEnd = 1; fromEnd <= 4; ++fromEnd) {
        if (LedDigit* led = controls_.ledTRK[static_cast<std::size_t>(6 - fromEnd)])
            led->setDigit(digitAt(text, fromEnd));
    }
}

void DisplayRefresh::setTransportEnabled(bool enabled) {
    const auto& c = controls_;
    for (QWidget* w : {c.cmdPlay, c.cmdStop, c.cmdPause, c.cmdFF, c.cmdRR, c.cmdForwardTrack, c.cmdBackTrack})
        setEnabled(w, enabled);
    for (QAction* a : {c.mnuPlay, c.mnuStop, c.mnuPause, c.mnuNext, c.mnuPrev}) setEnabled(a, enabled);
}

void DisplayRefresh::enableByPlaying(bool playing) {
    const auto& c = controls_;
    setEnabled(c.cmdPlay, !playing);
    setEnabled(c.mnuPlay, !playing);
    for (QWidget* w : {c.cmdStop, c.cmdPause, c.cmdFF, c.cmdRR}) setEnabled(w, playing);
    setEnabled(c.mnuStop, playing);
    setEnabled(c.mnuPause, playing);
    for (QWidget* w : {c.cmdForwardTrack, c.cmdBackTrack}) setEnabled(w, true);
    setEnabled(c.mnuNext, true);
    setEnabled(c.mnuPrev, true);
}

}  // namespace velmora
