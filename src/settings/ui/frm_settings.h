#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace velmora {

class ActiveSettings;
class BrowserService;
class ClickArea;
class FilePickerService;
class MessageBoxService;
class PictureButton;
class SettingsStore;

// The settings window: the skin, the CDDB server, whether new discs are looked up by
// themselves, and the user name. It reads the stored
// values when it opens and, however it is closed, stores them and reloads the settings,
// so a new skin shows on the main window at once.
class FrmSettings : public QWidget {
    Q_OBJECT
public:
    FrmSettings(SettingsStore& store, ActiveSettings& settings, QString programFolder, FilePickerService& files,
                BrowserService& browser, MessageBoxService& boxes, QWidget* parent = nullptr);

    void Form_Load();
    void cmdLoadNew_Click();
    void imgCDDB_Click();
    void cmdExit_Click();

    const QString& SelectedSkin() const { return SelectedSkin_; }
    QComboBox* cmbCDDB() const { return cmbCDDB_; }
    QCheckBox* chkLookupAutomatically() const { return chkLookupAutomatically_; }
    QLineEdit* txtUserName() const { return txtUserName_; }
    QLabel* picSkin() const { return picSkin_; }

signals:
    // Closed and saved; the main window comes back.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    bool showSkin(const QString& fileName);
    void Form_Unload();

    SettingsStore& store_;
    ActiveSettings& settings_;
    QString programFolder_;
    FilePickerService& files_;
    BrowserService& browser_;
    MessageBoxService& boxes_;
    QString SelectedSkin_;
    QString loadedServer_;

    QTabWidget* SSTab1_ = nullptr;
    QPushButton* cmdLoadNew_ = nullptr;
    QLabel* picSkin_ = nullptr;
    QComboBox* cmbCDDB_ = nullptr;
    ClickArea* imgCDDB_ = nullptr;
    QCheckBox* chkLookupAutomatically_ = nullptr;
    QLineEdit* txtUserName_ = nullptr;
    PictureButton* cmdExit_ = nullptr;
    bool unloaded_ = false;
};

}  // namespace velmora
