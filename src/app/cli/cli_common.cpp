#include "app/cli/cli_common.h"

#include <cstdio>

namespace velmora::cli {

int StderrMessageBoxes::show(const QString& text, const QString& title, int style) {
    std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return (style & MsgBox::YesNo) ? MsgBox::AnswerNo : MsgBox::AnswerOk;
}

void printError(const QString& message) {
    std::fprintf(stderr, "velmora-cli: %s\n", message.toLocal8Bit().constData());
}

bool expectNoArguments(const QString& subcommand, const QStringList& args) {
    if (args.isEmpty()) return true;
    printError(QStringLiteral("%1 takes no arguments (got \"%2\")").arg(subcommand, args.front()));
    return false;
}

}  // namespace velmora::cli
