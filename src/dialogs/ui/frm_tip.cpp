#include "dialogs/ui/frm_tip.h"

#include "chrome/artwork_windows.h"
#include "chrome/form_controls.h"
#include "platform/ui/window_shape.h"
#include "settings/settings_store.h"

#include <algorithm>

#include <QCheckBox>
#include <QFileInfo>
#include <QStandardPaths>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace velmora {

FrmTip::FrmTip(SettingsStore& store, QString programFolder, std::function<double()> random, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      store_(store),
      programFolder_(std::move(programFolder)),
      tips_(std::move(random)) {
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(5415), twipsToPixels(3285));
    setFont(arialFont(9));

    auto* panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("Picture1"));
    panel->setGeometry(twipsRect(120, 120, 3735, 2715));
    panel->setStyleSheet(QStringLiteral("QLabel#Picture1 { background: white; border: 1px solid #808080; }"));
    auto* icon = new QLabel(panel);
    icon->setPixmap(artwork::tipIcon());
    icon->setGeometry(4, 4, 32, 32);
    auto* heading = new QLabel(QStringLiteral("Did you know..."), panel);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setGeometry(twipsRect(540, 180, 2655, 255));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setStyleSheet(QStringLiteral("background: white; color: black;"));
    lblTipText_ = new QLabel(panel);
    lblTipText_->setObjectName(QStringLiteral("lblTipText"));
    lblTipText_->setGeometry(twipsRect(180, 840, 3255, 1635));
    lblTipText_->setWordWrap(true);
    lblTipText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText_->setStyleSheet(QStringLiteral("background: white; color: black;"));

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipsRect(4080, 120, 1215, 375));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QWidget::close);
    // Esc presses OK too.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, cmdOK_, &QPushButton::click);
    cmdNextTip_ = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdNextTip_->setObjectName(QStringLiteral("cmdNextTip"));
    cmdNextTip_->setGeometry(twipsRect(4080, 600, 1215, 375));
    connect(cmdNextTip_, &QPushButton::clicked, this, &FrmTip::cmdNextTip_Click);
    chkLoadTipsAtStartup_ = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkLoadTipsAtStartup_->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    chkLoadTipsAtStartup_->setGeometry(twipsRect(120, 2940, 2055, 315));
    // Desktop faces run wider than the one the layout was drawn with: never cut the caption.
    chkLoadTipsAtStartup_->resize(std::max(chkLoadTipsAtStartup_->width(), chkLoadTipsAtStartup_->sizeHint().width()),
                                  chkLoadTipsAtStartup_->height());
    connect(chkLoadTipsAtStartup_, &QCheckBox::toggled, this, &FrmTip::chkLoadTipsAtStartup_Click);
}

void FrmTip::Form_Load() {
    centreOnScreen(this);
    placeWindow(this, Layer::Topmost, /*activate=*/true);
    // Checking the box stores "1", as every change of it does.
    chkLoadTipsAtStartup_->setChecked(true);
    chkLoadTipsAtStartup_Click();
    // Beside the program when it runs from its build; where an install put it otherwise.
    QString folder = programFolder_;
    if (!QFileInfo::exists(folder + u'/' + kTipsFileName)) {
        const QString installed =
            QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("velmora/") + kTipsFileName);
        if (!installed.isEmpty()) folder = QFileInfo(installed).path();
    }
    tips_.load(folder);
    lblTipText_->setText(tips_.tipText());
}

void FrmTip::cmdNextTip_Click() {
    tips_.PickRandomTip();
    lblTipText_->setText(tips_.tipText());
}

void FrmTip::chkLoadTipsAtStartup_Click() {
    store_.write(settings::ShowTips, showTipsSettingValue(chkLoadTipsAtStartup_->isChecked()));
}

}  // namespace velmora
