#pragma once

#include "platform/message_box.h"

#include <QString>
#include <QStringList>

namespace velmora::cli {

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Message boxes on a terminal: the text goes to stderr, questions are answered No.
class StderrMessageBoxes final : public MessageBoxService {
public:
    int show(const QString& text, const QString& title, int style) override;
};

// Prints "velmora-cli: <message>" to stderr.
void printError(const QString& message);

// Refuses arguments a subcommand does not take; true when there were none.
bool expectNoArguments(const QString& subcommand, const QStringList& args);

}  // namespace velmora::cli
