#include "settings/ui/frm_settings.h"

#include "cddb/cddb_servers.h"
#include "chrome/artwork_windows.h"
#include "chrome/click_area.h"
#include "chrome/picture_button.h"
#include "chrome/skin_picture.h"
#include "platform/browser.h"
#include "platform/message_box.h"
#include "platform/ui/window_shape.h"
#include "settings/active_settings.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QPointer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace velmora {

namespace {
constexpr int kWidthTwips = 7470;
constexpr int kHeightTwips = 4455;

QString trimmedBlanks(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    return text.mid(first, last - first);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& place, bool wrap = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(place);
    l->setWordWrap(wrap);
    return l;
}
}  // namespace

FrmSettings::FrmSettings(SettingsStore& store, ActiveSettings& settings, QString programFolder,
                         FilePickerService& files, BrowserService& browser, MessageBoxService& boxes, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      store_(store),
      settings_(settings),
      programFolder_(std::move(programFolder)),
      files_(files),
      browser_(browser),
      boxes_(boxes) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Velmora Settings"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    createControls();
}

void FrmSettings::createControls() {
    SSTab1_ = new QTabWidget(this);
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    SSTab1_->setGeometry(8, 8, width() - 16, 238);

    auto* skins = new QWidget;
    cmdLoadNew_ = new QPushButton(QStringLiteral("Load New Skin"), skins);
    cmdLoadNew_->setObjectName(QStringLiteral("cmdLoadNew"));
    cmdLoadNew_->setGeometry(10, 10, 120, 28);
    connect(cmdLoadNew_, &QPushButton::clicked, this, &FrmSettings::cmdLoadNew_Click);
    picSkin_ = label(skins, "picSkin", QString(), QRect(140, 10, 322, 114));
    picSkin_->setAlignment(Qt::AlignCenter);
    picSkin_->setFrameShape(QFrame::StyledPanel);
    label(skins, "lblSkinHint", QStringLiteral("Skins are pictures in the Skins folder beside the program."),
          QRect(140, 130, 322, 60), true);
    SSTab1_->addTab(skins, QStringLiteral("Skins"));

    auto* cddb = new QWidget;
    label(cddb, "lblCDDB", QStringLiteral("CDDB Server"), QRect(10, 10, 200, 18));
    cmbCDDB_ = new QComboBox(cddb);
    cmbCDDB_->setObjectName(QStringLiteral("cmbCDDB"));
    cmbCDDB_->setEditable(true);
    cmbCDDB_->setInsertPolicy(QComboBox::NoInsert);
    cmbCDDB_->setGeometry(10, 30, 360, 26);
    imgCDDB_ = new ClickArea(cddb);
    imgCDDB_->setObjectName(QStringLiteral("imgCDDB"));
    imgCDDB_->setGeometry(395, 14, twipsToPixels(960), twipsToPixels(705));
    imgCDDB_->setPixmap(artwork::cddbLogo());
    imgCDDB_->setToolTip(QStringLiteral("Click Here To Visit The CDDB Web Site"));
    imgCDDB_->setCursor(artwork::linkCursor());
    connect(imgCDDB_, &ClickArea::clicked, this, &FrmSettings::imgCDDB_Click);
    label(cddb, "Label1",
          QStringLiteral("Titles are looked up in freely run CDDB-format disc databases; each server "
                         "belongs to its operators, whose terms apply to what it sends."),
          QRect(10, 70, 450, 60), true);
    chkLookupAutomatically_ =
        new QCheckBox(QStringLiteral("Look up new discs automatically (MusicBrainz, then this server)"), cddb);
    chkLookupAutomatically_->setObjectName(QStringLiteral("chkLookupAutomatically"));
    chkLookupAutomatically_->setGeometry(10, 140, 450, 24);
    SSTab1_->addTab(cddb, QStringLiteral("CDDB"));

    auto* person = new QWidget;
    label(person, "lblUserName", QStringLiteral("User Name"), QRect(10, 10, 200, 18));
    txtUserName_ = new QLineEdit(person);
    txtUserName_->setObjectName(QStringLiteral("txtUserName"));
    txtUserName_->setGeometry(10, 30, 360, 26);
    label(person, "lblUserNameHint",
          QStringLiteral("CDDB servers receive this name with every lookup. Most ask for your e-mail "
                         "address here, so that they can reach you about your use of them."),
          QRect(10, 64, 450, 60), true);
    SSTab1_->addTab(person, QStringLiteral("Person Info"));

    cmdExit_ = new PictureButton(this);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    cmdExit_->setGeometry(width() - 8 - 125, height() - 8 - 25, 125, 25);
    cmdExit_->setPictures(artwork::settingsExitPicture(), {}, artwork::settingsExitPicture(true));
    cmdExit_->setToolTip(QStringLiteral("Save Settings And Exit"));
    connect(cmdExit_, &QAbstractButton::clicked, this, &FrmSettings::cmdExit_Click);
}

// At the screen's pixel ratio, so the preview is sharp on a scaled screen.
bool FrmSettings::showSkin(const QString& fileName) {
    const QImage picture = readSkinPicture(programFolder_ + QStringLiteral("/Skins/") + trimmedBlanks(fileName));
    if (picture.isNull()) return false;
    const qreal ratio = picSkin_->devicePixelRatioF();
    QPixmap shown = QPixmap::fromImage(picture).scaled((QSizeF(picSkin_->size() - QSize(4, 4)) * ratio).toSize(),
                                                       Qt::KeepAspectRatio, Qt::SmoothTransformation);
    shown.setDevicePixelRatio(ratio);
    picSkin_->setPixmap(shown);
    return true;
}

void FrmSettings::Form_Load() {
    centreOnScreen(this);
    cmbCDDB_->addItems(cddbServerTexts());
    loadedServer_ = store_.read(settings::CDDBServer, defaultCddbServer()).value;
    cmbCDDB_->setEditText(loadedServer_);
    chkLookupAutomatically_->setChecked(store_.readWholeNumber(settings::LookupAutomatically) != 0);
    SelectedSkin_ = store_.read(settings::Skin).value;
    // A stored skin that cannot be shown leaves the preview's own picture.
    if (!showSkin(SelectedSkin_))
        picSkin_->setPixmap(
            artwork::skinPreviewPlaceholder(picSkin_->size() - QSize(4, 4), picSkin_->devicePixelRatioF()));
    txtUserName_->setText(store_.read(settings::UserName, settings_.ActiveUserName()).value);
    show();
}

void FrmSettings::cmdLoadNew_Click() {
    // The window may have closed by the time the user has picked a file.
    QPointer<FrmSettings> self(this);
    files_.chooseFile(QStringLiteral("Select Skin"), programFolder_ + QStringLiteral("/Skins"),
                      QStringLiteral("Skins (*.jpg)"), [self](const QString& chosen) {
                          if (!self) return;
                          // Only the name counts: the skin is always taken from the Skins folder.
                          const QString name = QFileInfo(chosen).fileName();
                          if (self->showSkin(name)) self->SelectedSkin_ = name;
                      });
}

void FrmSettings::imgCDDB_Click() {
    // A browser that did not take the page gets one more try.
    if (!browser_.openUrl(cddbWebSite())) browser_.openUrl(cddbWebSite());
}

void FrmSettings::cmdExit_Click() { close(); }

void FrmSettings::Form_Unload() {
    emit closed();
    const ServerTextCheck server = validateServerText(cmbCDDB_->currentText());
    if (server.ok()) {
        store_.write(settings::CDDBServer, server.server);
    } else {
        // The refusal names what is wrong; then what lookups use meanwhile.
        const QString kept = loadedServer_.trimmed();
        boxes_.show(server.error + (kept.isEmpty() ? QStringLiteral("\r\n\r\nNo server is set, so lookups cannot be "
                                                                    "made until one is.")
                                                   : QStringLiteral("\r\n\r\nLookups go on asking %1.").arg(kept)),
                    QStringLiteral("Velmora Settings"), MsgBox::Information | MsgBox::OkOnly);
    }
    store_.write(settings::LookupAutomatically,
                 chkLookupAutomatically_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    store_.write(settings::Skin, SelectedSkin_);
    store_.write(settings::UserName, txtUserName_->text());
    settings_.LoadSettings(true);
}

void FrmSettings::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    event->accept();
}

}  // namespace velmora
