#pragma once

#include "discdb/disc_database.h"
#include "fake_mci.h"
#include "platform/message_box.h"
#include "player/mci_channel.h"
#include "player/player_core.h"

#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace velmora::test {

using Commands = std::vector<std::string>;

// The player core against a scripted drive, with its disc database in a temporary folder.
class PlayerFixture : public ::testing::Test {
protected:
    PlayerFixture()
        : channel(mci, boxes), database(dir.filePath(QStringLiteral("Velmora.ini"))), core(channel, database) {
        // A disc already identified, so a refresh asks only the refresh's own questions.
        core.identity.GetCDINFO(QStringLiteral("12345678"));
        core.session.setSeekStep(5);
        mci.sent.clear();
    }

    // The player as a refresh leaves it on an audio disc of `tracks` tracks, 4:10 each,
    // with the head at `track`, `minute`:`second`; nothing sent is kept.
    void at(int track, int minute, int second, bool playing, int tracks = 12) {
        const auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
        mci.audioDisc(tracks, two(track) + ":" + two(minute) + ":" + two(second) + ":00");
        mci.answer("status cd mode", playing ? "playing" : "stopped");
        core.refresh.UpdateDisplay();
        mci.sent.clear();
    }

    static int count(const Commands& sent, const std::string& command) {
        return static_cast<int>(std::count(sent.begin(), sent.end(), command));
    }
    // The commands a call sent before the refresh it triggered, and how many refreshes.
    Commands commandsBeforeRefresh() {
        Commands out;
        for (const auto& s : mci.sent) {
            if (s == "status cd media present") break;
            out.push_back(s);
        }
        return out;
    }
    int refreshes() const { return count(mci.sent, "status cd media present"); }

    QTemporaryDir dir;
    FakeMci mci;
    RecordingMessageBoxes boxes;
    MciChannel channel;
    DiscDatabase database;
    PlayerCore core;
};

}  // namespace velmora::test
