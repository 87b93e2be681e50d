#pragma once

#include "dialogs/tips_file.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace velmora {

class SettingsStore;

// The tip of the day: one tip drawn at random from the tips file beside the program, with
// "Next Tip" and the switch that shows the window at the next start.
class FrmTip : public QWidget {
    Q_OBJECT
public:
    FrmTip(SettingsStore& store, QString programFolder, std::function<double()> random = {}, QWidget* parent = nullptr);

    void Form_Load();
    void cmdNextTip_Click();
    void chkLoadTipsAtStartup_Click();

    QLabel* lblTipText() const { return lblTipText_; }
    QCheckBox* chkLoadTipsAtStartup() const { return chkLoadTipsAtStartup_; }
    const TipOfTheDay& tips() const { return tips_; }

private:
    SettingsStore& store_;
    QString programFolder_;
    TipOfTheDay tips_;
    QLabel* lblTipText_ = nullptr;
    QCheckBox* chkLoadTipsAtStartup_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdNextTip_ = nullptr;
};

}  // namespace velmora
