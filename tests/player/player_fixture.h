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
#include <functional>
#include <string>
#include <vector>

namespace velmora::test {

using Commands = std::vector<std::string>;

// Message boxes that can act while open, as events go on arriving under a modal box.
class ScriptedBoxes final : public MessageBoxService {
public:
    int show(const QString& text, const QString& title, int style) override {
        shown.push_back({text, title, style});
        if (whileShown) whileShown();
        return MsgBox::AnswerOk;
    }
    void ask(const QString& text, const QString& title, int style, std::function<void(int)> answered) override {
        shown.push_back({text, title, style});
        if (answered) answered(MsgBox::AnswerNo);
    }
    std::vector<RecordingMessageBoxes::Shown> shown;
    std::function<void()> whileShown;
};

// The player core against a scripted drive, with its disc database in a temporary folder.
class PlayerFixture : public ::testing::Test {
protected:
    PlayerFixture()
        : channel(mci, boxes), database(dir.filePath(QStringLiteral("Velmora.ini"))), core(channel, database) {
        // A disc already identified, so a refresh asks only the refresh's own questions.
        disc().ID = QStringLiteral("12345678");
    }

    PlayerState& state() { return core.session.mutableState(); }
    DiscRecord& disc() { return core.session.mutableDisc(); }

    void at(int track, int minute, int second, bool playing, int tracks = 12) {
        state().CurrentTrack = static_cast<std::int16_t>(track);
        state().CurrentMinute = static_cast<std::int16_t>(minute);
        state().CurrentSecond = static_cast<std::int16_t>(second);
        state().NumTracks = static_cast<std::int16_t>(tracks);
        state().Playing = playing;
        state().SeekStep = 5;
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
    ScriptedBoxes boxes;
    MciChannel channel;
    DiscDatabase database;
    PlayerCore core;
};

}  // namespace velmora::test
