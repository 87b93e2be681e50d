#pragma once

#include "chrome/led_digit.h"
#include "chrome/status_bar.h"
#include "fake_mci.h"
#include "platform/message_box.h"
#include "player/display_refresh.h"
#include "player/main_controls.h"
#include "player/mci_channel.h"
#include "player/position_bar.h"
#include "player/transport.h"
#include "shared/player_state.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace velmora::test {

// The player units on a bare set of controls, against a scripted drive.
class PlayerFixture : public ::testing::Test {
protected:
    PlayerFixture() : channel(mci, boxes) {
        window.resize(460, 161);
        c.frmCdplayer = &window;
        c.tmrUpdate = new QTimer(&window);
        c.tmrUpdate->setInterval(1000);
        for (auto& led : c.ledTRK) led = new LedDigit(&window);
        c.lblCDName = new QLabel(&window);
        c.lblCDName->setGeometry(172, 36, 268, 18);
        c.lblArtist = new QLabel(&window);
        c.lblArtist->setGeometry(172, 56, 268, 16);
        c.lblTrk = new QLabel(&window);
        c.lblTrk->setGeometry(172, 74, 268, 16);
        auto* bar = new QWidget(&window);
        bar->resize(114, 10);
        c.StatusBar = new StatusBarShape(bar);
        c.TrackList = new QListWidget(&window);
        c.TrackList->hide();
        for (QWidget** w : {&c.cmdPlay, &c.cmdStop, &c.cmdPause, &c.cmdFF, &c.cmdRR, &c.cmdForwardTrack,
                            &c.cmdBackTrack})
            *w = new QPushButton(&window);
        for (QAction** a : {&c.mnuPlay, &c.mnuStop, &c.mnuPause, &c.mnuNext, &c.mnuPrev})
            *a = new QAction(&window);
        refresh = std::make_unique<DisplayRefresh>(
            state, channel, c, [this] { ++identifications; }, [] {});
        auto update = [this] {
            ++refreshes;
            refresh->UpdateDisplay();
        };
        transport = std::make_unique<Transport>(state, channel, c.tmrUpdate, update);
        bar_ = std::make_unique<PositionBar>(state, channel, c.tmrUpdate, c.StatusBar, update);
    }

    QString leds() const {
        QString s;
        for (auto* led : c.ledTRK) s += QString::number(led->digit());
        return s;
    }

    // The enabled state of the twelve controls, as a string of 0/1 in the order
    // Play, mnuPlay, Stop, mnuStop, Pause, mnuPause, FF, RR, Next, mnuNext, Prev, mnuPrev.
    std::string enabledStates() const {
        std::string s;
        auto bit = [&](bool on) { s += on ? '1' : '0'; };
        bit(c.cmdPlay->isEnabled());
        bit(c.mnuPlay->isEnabled());
        bit(c.cmdStop->isEnabled());
        bit(c.mnuStop->isEnabled());
        bit(c.cmdPause->isEnabled());
        bit(c.mnuPause->isEnabled());
        bit(c.cmdFF->isEnabled());
        bit(c.cmdRR->isEnabled());
        bit(c.cmdForwardTrack->isEnabled());
        bit(c.mnuNext->isEnabled());
        bit(c.cmdBackTrack->isEnabled());
        bit(c.mnuPrev->isEnabled());
        return s;
    }

    FakeMci mci;
    RecordingMessageBoxes boxes;
    MciChannel channel;
    PlayerState state;
    QWidget window;
    MainControls c;
    int identifications = 0;
    int refreshes = 0;
    std::unique_ptr<DisplayRefresh> refresh;
    std::unique_ptr<Transport> transport;
    std::unique_ptr<PositionBar> bar_;
};

}  // namespace velmora::test
