#pragma once

#include "platform/mci/drive_mci.h"
#include "platform/message_box.h"
#include "player/mci_channel.h"
#include "player/player_session.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace velmora::cli {

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// velmora-cli lookup: no source knows the disc; a server refused or failed.
inline constexpr int kExitNotFound = 3;
inline constexpr int kExitServerError = 4;
// A local file cannot be used: the disc database, the settings file, or the disc image or
// .disc file that VELMORA_DRIVE names (what the player would show in a box).
inline constexpr int kExitFileProblem = 5;
// Returned by a subcommand whose work goes on in the program's event loop; it ends the
// loop with QCoreApplication::exit(code) when done.
inline constexpr int kExitWhenDone = -1;

// Message boxes on a terminal: the text goes to stderr, questions are answered No.
class StderrMessageBoxes final : public MessageBoxService {
public:
    int show(const QString& text, const QString& title, int style) override;
    void ask(const QString& text, const QString& title, int style, std::function<void(int)> answered) override;
};

// The drive opened the player's way: chosen from the environment, the command channel
// logging to VELMORA_MCI_LOG, the device open under the alias "cd" in tmsf. Closes every
// device again when it goes.
class PlayerDevice {
public:
    PlayerDevice();
    ~PlayerDevice();
    PlayerDevice(const PlayerDevice&) = delete;
    PlayerDevice& operator=(const PlayerDevice&) = delete;

    // False when the device could not be opened (the reason is already on stderr).
    bool opened() const { return opened_; }
    MciChannel& channel() { return *channel_; }
    // A player session on that channel, for the identity to load the disc into.
    PlayerSession& session() { return *session_; }

private:
    DriveMci device_;
    StderrMessageBoxes boxes_;
    std::unique_ptr<MciChannel> channel_;
    std::unique_ptr<PlayerSession> session_;
    bool opened_ = false;
};

// Prints why the drive VELMORA_DRIVE chose cannot be used, if it cannot (a file named
// there counts as a file problem).
void reportDriveSelection(const DriveSelection& selection);

// Text as it may reach the terminal: line by line, each without control characters, the
// lines joined by a line feed.
QString terminalText(const QString& text);

// Prints "velmora-cli: <message>" to stderr.
void printError(const QString& message);

// Prints a problem with a local file and remembers it: the command then ends with
// kExitFileProblem, printing no answer.
void reportFileProblem(const QString& message);
bool fileProblemReported();

// Prints "key=value" to stdout in UTF-8; a value's control characters never reach the terminal.
void printLine(const QString& key, const QString& value);

// Refuses arguments a subcommand does not take; true when there were none.
bool expectNoArguments(const QString& subcommand, const QStringList& args);

}  // namespace velmora::cli
