#include "player/track_picker.h"

#include "player/mci_channel.h"
#include "shared/player_state.h"
#include "shared/reply_parse.h"

#include <QListWidget>

namespace velmora {

TrackPicker::TrackPicker(PlayerState& state, MciChannel& mci, QListWidget* TrackList,
                         std::function<void()> UpdateDisplay)
    : state_(state), mci_(mci), TrackList_(TrackList), UpdateDisplay_(std::move(UpdateDisplay)) {}

void TrackPicker::picTrack_Click() {
    if (TrackList_->isVisible()) {
        TrackList_->hide();
        return;
    }
    TrackList_->show();
    TrackList_->raise();
    TrackList_->clear();
    for (int n = 1; n <= state_.NumTracks; ++n) {
        // The disc record holds 30 titles; later tracks are listed without one.
        const QString title = n <= DiscRecord::kMaxTracks ? beforeNul(state_.CurrentDisc.track(n)) : QString();
        TrackList_->addItem(QStringLiteral("Track ") + QString::number(n) + QStringLiteral(" - ") + title);
    }
}

void TrackPicker::TrackList_DblClick() {
    TrackList_->hide();
    for (int k = 1; k <= TrackList_->count(); ++k) {
        if (!TrackList_->item(k - 1)->isSelected()) continue;
        if (k <= state_.NumTracks) {
            state_.MciCommand = (state_.Playing ? QStringLiteral("play cd from ") : QStringLiteral("seek cd to ")) +
                                QString::number(k);
            mci_.SendMCIString(state_.MciCommand, true);
        }
        UpdateDisplay_();
    }
}

}  // namespace velmora
