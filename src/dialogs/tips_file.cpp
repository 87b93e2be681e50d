#include "dialogs/tips_file.h"

#include "shared/regular_file.h"
#include "shared/text_lines.h"

#include <QRandomGenerator>
#include <QStringDecoder>

#include <algorithm>
#include <chrono>
#include <memory>

namespace velmora {

namespace {

QString decode(const QByteArray& data) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (utf8.hasError()) return QString::fromLatin1(data);
    return text;
}

std::function<double()> clockSeededRandom() {
    const auto seed = std::chrono::system_clock::now().time_since_epoch().count();
    auto generator = std::make_shared<QRandomGenerator>(static_cast<quint32>(seed ^ (seed >> 32)));
    return [generator] { return generator->generateDouble(); };
}

}  // namespace

QStringList splitTips(const QByteArray& data) {
    QStringList tips = splitLineEnds(decode(data));
    if (tips.last().isEmpty()) tips.removeLast();  // a final line end opens no tip
    return tips;
}

QString tipsNotFoundText() {
    return QStringLiteral("That the ") + kTipsFileName + QStringLiteral(" file was not found? \r\n\r\n") +
           QStringLiteral("Create a text file named ") + kTipsFileName +
           QStringLiteral(" using NotePad with 1 tip per line. ") +
           QStringLiteral("Then place it in the same directory as the application. ");
}

TipOfTheDay::TipOfTheDay(std::function<double()> random) : random_(random ? std::move(random) : clockSeededRandom()) {}

void TipOfTheDay::load(const QString& programFolder) {
    if (!LoadTips(programFolder + u'/' + kTipsFileName)) label_ = tipsNotFoundText();
}

bool TipOfTheDay::LoadTips(const QString& fileName) {
    const RegularFile file = readRegularFile(fileName);
    if (!file.read()) return false;
    tips_ += splitTips(file.bytes);
    PickRandomTip();
    return true;
}

void TipOfTheDay::PickRandomTip() {
    const double r = random_();
    const auto count = static_cast<int>(tips_.size());
    index_ = static_cast<int>(r * count + 1);
    // A source that strays outside [0, 1) still lands on a tip.
    index_ = std::clamp(index_, 1, std::max(count, 1));
    DisplayCurrentTip();
}

void TipOfTheDay::DisplayCurrentTip() {
    if (!tips_.isEmpty()) label_ = tips_[index_ - 1];
}

QString showTipsSettingValue(bool checked) { return checked ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace velmora
