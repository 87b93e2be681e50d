#include "dialogs/ui/frm_about.h"

#include "cddb/cddb_servers.h"
#include "chrome/artwork_windows.h"
#include "chrome/click_area.h"
#include "chrome/form_controls.h"
#include "chrome/picture_button.h"
#include "platform/browser.h"
#include "platform/ui/window_shape.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QStandardPaths>

namespace velmora {

namespace {
// A page the browser did not take gets one more try.
void openPage(BrowserService& browser, const QUrl& url) {
    if (!browser.openUrl(url)) browser.openUrl(url);
}

QLabel* notice(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(place);
    l->setWordWrap(true);
    l->setStyleSheet(QStringLiteral("color: #202020; background: transparent;"));
    return l;
}
}  // namespace

FrmAbout::FrmAbout(BrowserService& browser, QUrl homePage, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      browser_(browser),
      homePage_(std::move(homePage)),
      background_(artwork::aboutBackground()) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString());
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(9060), twipsToPixels(4695));

    auto* version =
        notice(this, "lblVersion", QStringLiteral("Version " VELMORA_VERSION), twipsRect(3825, 1050, 3615, 315));
    version->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0); background: transparent;"));
    QFont big = version->font();
    big.setPointSize(12);
    big.setBold(true);
    version->setFont(big);
    notice(this, "lblCopyright", QStringLiteral("Copyright \u00A9 2026 the Velmora developers. All rights reserved."),
           twipsRect(375, 3150, 8115, 240));
    notice(this, "Label1", QStringLiteral("Disc titles come from CDDB-format databases run by their own operators."),
           twipsRect(375, 3375, 8115, 240));
    notice(this, "lblDisclaimer",
           QStringLiteral("Velmora is provided as it is, without any warranty. Copying or sharing the music "
                          "of a disc may need its owner's permission; play only what you may."),
           twipsRect(300, 3675, 6120, 900));

    auto link = [this](const char* name, const QRect& place, const QString& tip) {
        auto* area = new ClickArea(this);
        area->setObjectName(QLatin1String(name));
        area->setGeometry(place);
        area->setToolTip(tip);
        area->setCursor(artwork::linkCursor());
        return area;
    };
    ClickArea* cddb =
        link("imgCDDB", twipsRect(7650, 2100, 960, 705), QStringLiteral("Click Here To Visit The CDDB Web Site"));
    cddb->setPixmap(artwork::cddbLogo());
    connect(cddb, &ClickArea::clicked, this, &FrmAbout::imgCDDB_Click);
    ClickArea* home = link("imgClickHere", twipsRect(300, 300, 3015, 2640),
                           QStringLiteral("Click Here... To Goto Velmora's Home Page"));
    connect(home, &ClickArea::clicked, this, &FrmAbout::imgClickHere_Click);

    auto* exit = new PictureButton(this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    exit->setGeometry(twipsRect(6825, 3975, 1875, 375));
    exit->setPictures(artwork::aboutExitPicture(), {}, artwork::aboutExitPicture(true));
    connect(exit, &QAbstractButton::clicked, this, &QWidget::close);
}

QUrl FrmAbout::homePageFor(const QString& programFolder) {
    const QString beside = programFolder + QStringLiteral("/doc/velmora.html");
    if (QFileInfo::exists(beside)) return QUrl::fromLocalFile(beside);
    // An install's data folder, <prefix>/share/velmora, has the page in <prefix>/share/doc.
    const QString installedBeside = QDir::cleanPath(programFolder + QStringLiteral("/../doc/velmora/velmora.html"));
    if (QFileInfo::exists(installedBeside)) return QUrl::fromLocalFile(installedBeside);
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("doc/velmora/velmora.html"));
    return QUrl::fromLocalFile(installed.isEmpty() ? beside : installed);
}

void FrmAbout::Form_Load() {
    centreOnScreen(this);
    show();
}

// Every click opens the page anew.
void FrmAbout::imgCDDB_Click() { openPage(browser_, cddbWebSite()); }
void FrmAbout::imgClickHere_Click() { openPage(browser_, homePage_); }

void FrmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

void FrmAbout::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

}  // namespace velmora
