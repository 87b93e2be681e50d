#pragma once

#include <QUrl>
#include <QWidget>

class QLabel;

namespace velmora {

class BrowserService;
class ClickArea;
class PictureButton;

// The about window: the version, our notices, and two links, to the CDDB service's web
// site and to the program's own documentation.
class FrmAbout : public QWidget {
    Q_OBJECT
public:
    FrmAbout(BrowserService& browser, QUrl homePage, QWidget* parent = nullptr);

    void Form_Load();
    void imgCDDB_Click();
    void imgClickHere_Click();

    // The program's home page: its documentation beside the program, else where an
    // install puts it.
    static QUrl homePageFor(const QString& programFolder);

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    BrowserService& browser_;
    QUrl homePage_;
    QPixmap background_;
};

}  // namespace velmora
