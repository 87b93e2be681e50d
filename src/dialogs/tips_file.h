#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora {

inline const QString kTipsFileName = QStringLiteral("TIPOFDAY.DAT");

// The tips of a tips file, one a line. A line ends at CR, CR LF or LF (not part of the
// tip); a last line without an end still counts; an empty line is an empty tip. The text
// is UTF-8, or Latin-1 where it is not valid UTF-8.
QStringList splitTips(const QByteArray& data);

// What the tip window shows when there is no tips file.
QString tipsNotFoundText();

// The tip window's state: the tips read, the one on show, and the text of its label.
class TipOfTheDay {
public:
    // `random` returns 0 <= r < 1; empty: a uniform generator seeded from the clock.
    explicit TipOfTheDay(std::function<double()> random = {});

    // Reads programFolder + "/TIPOFDAY.DAT"; when that fails the label shows
    // tipsNotFoundText().
    void load(const QString& programFolder);

    // True when the file was there and read (a file that cannot be read counts as
    // missing); then shows a random tip.
    bool LoadTips(const QString& fileName);
    // Next Tip: an independent draw, repeats allowed.
    void PickRandomTip();
    // Puts the tip at TipIndex on the label; without tips the label keeps its text.
    void DisplayCurrentTip();

    const QStringList& TipList() const { return tips_; }
    int TipIndex() const { return index_; }  // from 1
    const QString& tipText() const { return label_; }

private:
    std::function<double()> random_;
    QStringList tips_;
    int index_ = 0;
    QString label_;
};

// "Show Tips at Startup" as the check box stores it: "1" checked, "0" unchecked.
QString showTipsSettingValue(bool checked);

}  // namespace velmora
