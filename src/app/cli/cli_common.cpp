#include "app/cli/cli_common.h"

#include "platform/program_folder.h"
#include "shared/clean_text.h"
#include "shared/text_lines.h"

#include <QFileInfo>

#include <cstdio>

namespace velmora::cli {

namespace {
bool fileProblem = false;
}  // namespace

void reportDriveSelection(const DriveSelection& selection) {
    if (selection.error.isEmpty()) return;
    // A disc image or .disc file named outright is a local file; a drive found on the
    // machine is not.
    const QString named = qEnvironmentVariable("VELMORA_DRIVE");
    const QString suffix = QFileInfo(named).suffix().toLower();
    if ((named.startsWith(QLatin1String("sim:")) && named.size() > 4) || suffix == QLatin1String("cue") ||
        suffix == QLatin1String("toc"))
        reportFileProblem(selection.error);
    else printError(selection.error);
}

PlayerDevice::PlayerDevice() : device_(openDriveMci(demoDiscPath())) {
    reportDriveSelection(device_.selection);
    channel_ = std::make_unique<MciChannel>(*device_.mci, boxes_, qEnvironmentVariable("VELMORA_MCI_LOG"));
    session_ = std::make_unique<PlayerSession>(*channel_);
    opened_ = channel_->SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true);
    if (opened_) channel_->SendMCIString(QStringLiteral("set cd time format tmsf wait"), true);
}

PlayerDevice::~PlayerDevice() {
    if (opened_) channel_->SendMCIString(QStringLiteral("close all"), false);
}

QString terminalText(const QString& text) {
    QStringList lines = splitLineEnds(text);
    for (QString& line : lines) line = cleanExternalText(line);
    return lines.join(u'\n');
}

int StderrMessageBoxes::show(const QString& text, const QString& title, int /*style*/) {
    std::fprintf(stderr, "%s: %s\n", terminalText(title).toLocal8Bit().constData(),
                 terminalText(text).toLocal8Bit().constData());
    return MsgBox::AnswerOk;
}

void StderrMessageBoxes::ask(const QString& text, const QString& title, int style, std::function<void(int)> answered) {
    show(text, title, style);
    if (answered) answered(MsgBox::AnswerNo);
}

void printLine(const QString& key, const QString& value) {
    const QByteArray line = (cleanExternalText(key) + u'=' + cleanExternalText(value) + u'\n').toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
}

void printError(const QString& message) {
    std::fprintf(stderr, "velmora-cli: %s\n", terminalText(message).toLocal8Bit().constData());
}

void reportFileProblem(const QString& message) {
    printError(message);
    fileProblem = true;
}

bool fileProblemReported() { return fileProblem; }

bool expectNoArguments(const QString& subcommand, const QStringList& args) {
    if (args.isEmpty()) return true;
    printError(QStringLiteral("%1 takes no arguments (got \"%2\")").arg(subcommand, args.front()));
    return false;
}

}  // namespace velmora::cli
