#include "discdb/ui/frm_add_cd.h"

#include "chrome/artwork_windows.h"
#include "chrome/form_controls.h"
#include "chrome/picture_button.h"
#include "discdb/disc_database.h"
#include "discdb/track_list_entries.h"
#include "platform/message_box.h"
#include "platform/ui/window_shape.h"
#include "shared/units.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace velmora {

namespace {

// Client area and places in twips.
constexpr int kWidthTwips = 7200;
constexpr int kHeightTwips = 7035;

struct Row {
    int boxLeft, boxTop, boxWidth, numberLeft, numberTop, numberWidth;
};
constexpr Row kRows[FrmAddCD::kRowsPerPage] = {
    {600, 1935, 2835, 450, 1950, 255},   {600, 2325, 2835, 450, 2400, 180},   {600, 2700, 2835, 450, 2775, 180},
    {600, 3075, 2535, 450, 3150, 180},   {600, 3450, 2460, 450, 3525, 180},   {600, 3825, 2535, 450, 3900, 180},
    {600, 4200, 2835, 450, 4275, 180},   {600, 4575, 2835, 450, 4650, 180},   {600, 4950, 2835, 450, 4950, 180},
    {900, 5325, 2535, 675, 5325, 255},   {3675, 1950, 2685, 6375, 2025, 180}, {3675, 2325, 2685, 6375, 2400, 255},
    {3675, 2700, 2685, 6375, 2775, 255}, {3825, 3075, 2535, 6375, 3150, 255}, {3900, 3450, 2460, 6375, 3525, 255},
    {3825, 3825, 2535, 6375, 3900, 255}, {3675, 4200, 2685, 6375, 4275, 255}, {3675, 4575, 2685, 6375, 4575, 255},
    {3675, 4950, 2685, 6375, 4950, 255}, {3675, 5325, 2535, 6225, 5325, 255},
};
constexpr int kBoxHeight = 315;
constexpr int kNumberHeight = 255;

// The round outline, in pixels; nothing outside it shows.
QRegion outline() { return roundRectRegion(5, 0, 468, 468, 468, 468); }

QString trimmedRight(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ') --end;
    return text.left(end);
}

QLineEdit* textBox(QWidget* parent, const char* name, const QRect& place, double points, const QColor& back) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    box->setFont(arialFont(points));
    box->setFrame(false);
    box->setStyleSheet(
        QStringLiteral("QLineEdit { background: %1; color: black; border: 1px solid #404040; }").arg(back.name()));
    return box;
}

}  // namespace

FrmAddCD::FrmAddCD(DiscDatabase& database, MessageBoxService& boxes) : database_(database), boxes_(boxes) {
    setObjectName(QStringLiteral("frmAddCD"));
    setWindowTitle(QStringLiteral("Velmora Track List Editor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    setSkin(artwork::editorBackground(), Qt::black);
    createControls();
}

FrmAddCD::~FrmAddCD() = default;

void FrmAddCD::createControls() {
    auto* artistCaption = yellowLabel(this, QStringLiteral("CD Artist"), twipsRect(1920, 480, 975, 255));
    artistCaption->setObjectName(QStringLiteral("lbl"));
    artistCaption->setProperty("index", 0);
    txtArtist_ = textBox(this, "txtArtist", twipsRect(1515, 720, 4065, 285), 9, QColor(255, 255, 192));
    auto* titleCaption = yellowLabel(this, QStringLiteral("CD Title"), twipsRect(1800, 1080, 1095, 255));
    titleCaption->setObjectName(QStringLiteral("lbl"));
    titleCaption->setProperty("index", 1);
    txtTitle_ = textBox(this, "txtTitle", twipsRect(915, 1320, 5265, 285), 9, QColor(255, 255, 192));

    for (int n = 1; n <= kMaxTracks; ++n) {
        const Row& row = kRows[(n - 1) % kRowsPerPage];
        // Rows 1 to 10 of a page are pink, 11 to 20 apricot.
        const QColor back = (n - 1) % kRowsPerPage < 10 ? QColor(255, 192, 192) : QColor(255, 224, 192);
        QLineEdit* box =
            textBox(this, "txtTrk", twipsRect(row.boxLeft, row.boxTop, row.boxWidth, kBoxHeight), 8.25, back);
        box->setProperty("index", n);
        box->hide();
        txtTrk_[static_cast<std::size_t>(n)] = box;
        QLabel* number = yellowLabel(this, QString::number(n),
                                     twipsRect(row.numberLeft, row.numberTop, row.numberWidth, kNumberHeight));
        number->setObjectName(QStringLiteral("lblTrk"));
        number->setProperty("index", n);
        number->hide();
        lblTrk_[static_cast<std::size_t>(n)] = number;
    }

    cmdLocate_ = new PictureButton(this);
    cmdLocate_->setObjectName(QStringLiteral("cmdLocate"));
    cmdLocate_->setGeometry(twipsRect(2475, 5925, 855, 615));
    cmdLocate_->setPictures(artwork::editorLocatePicture(), {}, artwork::editorLocatePicture(true));
    cmdLocate_->setToolTip(QStringLiteral("Locate Track Titles On The Internet"));
    cmdLocate_->setFocusPolicy(Qt::StrongFocus);
    connect(cmdLocate_, &QAbstractButton::clicked, this, &FrmAddCD::cmdLocate_Click);

    cmdExit_ = new PictureButton(this);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    cmdExit_->setGeometry(twipsRect(3720, 5925, 855, 615));
    cmdExit_->setPictures(artwork::editorExitPicture(), {}, artwork::editorExitPicture(true));
    cmdExit_->setToolTip(QStringLiteral("Save Track Titles And Exit"));
    cmdExit_->setFocusPolicy(Qt::StrongFocus);
    connect(cmdExit_, &QAbstractButton::clicked, this, &FrmAddCD::cmdExit_Click);

    // Paging for discs of more than twenty tracks.
    auto pageButton = [this](const char* name, Qt::ArrowType arrow, int left, int delta) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setArrowType(arrow);
        b->setAutoRaise(true);
        b->setGeometry(twipsRect(left, 5655, 300, 255));
        b->setStyleSheet(QStringLiteral("QToolButton { color: rgb(255, 255, 0); background: transparent; }"));
        connect(b, &QToolButton::clicked, this, [this, delta] { showPage(page_ + delta); });
        b->hide();
        return b;
    };
    // Between the last rows and the buttons, clear of the name painted at the foot.
    cmdPrevPage_ = pageButton("cmdPrevPage", Qt::LeftArrow, 1875, -1);
    cmdNextPage_ = pageButton("cmdNextPage", Qt::RightArrow, 5025, +1);
    lblPage_ = yellowLabel(this, QString(), twipsRect(2175, 5655, 2850, 255));
    lblPage_->setObjectName(QStringLiteral("lblPage"));
    lblPage_->setAlignment(Qt::AlignCenter);
    lblPage_->setFont(arialFont(8.25, true));
    lblPage_->hide();

    // Tab order: exit, artist, title, tracks 1 to 13, locate, tracks 14 to 20, later pages.
    QWidget* previous = cmdExit_;
    auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    chain(txtArtist_);
    chain(txtTitle_);
    for (int n = 1; n <= 13; ++n) chain(txtTrk_[static_cast<std::size_t>(n)]);
    chain(cmdLocate_);
    for (int n = 14; n <= kMaxTracks; ++n) chain(txtTrk_[static_cast<std::size_t>(n)]);
}

QLineEdit* FrmAddCD::txtTrk(int n) const {
    return n >= 1 && n <= kMaxTracks ? txtTrk_[static_cast<std::size_t>(n)] : nullptr;
}

bool FrmAddCD::rowShown(int n) const { return n == 1 || (n >= 1 && n <= record_.NumberOfTracks); }

void FrmAddCD::Form_Load(const QString& discId, const DiscRecord& current) {
    centreOnScreen(this);
    placeWindow(this, Layer::Topmost, /*activate=*/true);
    setWindowRegion(this, outline());

    // A disc swapped later does not receive these titles.
    discId_ = discId;
    QString error;
    const QStringList entries = database_.entries(discId_, &error);
    if (!error.isEmpty()) boxes_.show(error, QStringLiteral("Velmora"), MsgBox::Information | MsgBox::OkOnly);
    record_ = current;
    loadEditorEntries(entries, record_);
    record_.NumberOfTracks = std::clamp(record_.NumberOfTracks, 0, kMaxTracks);
    emit titlesChanged(discId_, record_);

    txtTitle_->setText(trimmedRight(record_.Title));
    txtArtist_->setText(trimmedRight(record_.Artist));
    for (int n = 1; n <= kMaxTracks; ++n)
        txtTrk_[static_cast<std::size_t>(n)]->setText(rowShown(n) ? trimmedRight(record_.track(n)) : QString());
    showPage(0);
}

void FrmAddCD::showPage(int page) {
    const int pages = std::max(1, (record_.NumberOfTracks + kRowsPerPage - 1) / kRowsPerPage);
    page_ = std::clamp(page, 0, pages - 1);
    for (int n = 1; n <= kMaxTracks; ++n) {
        const bool visible = rowShown(n) && (n - 1) / kRowsPerPage == page_;
        if (visible) placeRow(n);
        txtTrk_[static_cast<std::size_t>(n)]->setVisible(visible);
        lblTrk_[static_cast<std::size_t>(n)]->setVisible(visible);
    }
    updatePageControls();
}

// A number wider than its design place (two digits, on later pages) grows away from its
// box; where the round outline would cut it, it moves towards the box instead, and the box
// gives up that room.
void FrmAddCD::placeRow(int n) {
    const Row& row = kRows[(n - 1) % kRowsPerPage];
    const bool leftColumn = (n - 1) % kRowsPerPage < 10;
    QLabel* number = lblTrk_[static_cast<std::size_t>(n)];
    QRect boxPlace = twipsRect(row.boxLeft, row.boxTop, row.boxWidth, kBoxHeight);
    QRect numberPlace = twipsRect(row.numberLeft, row.numberTop, row.numberWidth, kNumberHeight);
    number->ensurePolished();
    // The label is as wide as its text, so that only the text counts against the outline.
    const int needed = number->fontMetrics().horizontalAdvance(number->text()) + 1;
    if (leftColumn && needed > numberPlace.width())
        numberPlace.moveLeft(std::min(numberPlace.left(), boxPlace.left() - needed - 1));
    numberPlace.setWidth(needed);
    const QRegion inside = outline();
    const auto shows = [&inside](const QRect& place) { return inside.intersected(place) == QRegion(place); };
    for (int step = 0; step < needed && !shows(numberPlace); ++step) numberPlace.translate(leftColumn ? 1 : -1, 0);
    if (leftColumn) boxPlace.setLeft(std::max(boxPlace.left(), numberPlace.right() + 2));
    else boxPlace.setRight(std::min(boxPlace.right(), numberPlace.left() - 2));
    number->setGeometry(numberPlace);
    txtTrk_[static_cast<std::size_t>(n)]->setGeometry(boxPlace);
}

void FrmAddCD::updatePageControls() {
    const bool paged = record_.NumberOfTracks > kRowsPerPage;
    const int first = page_ * kRowsPerPage + 1;
    const int last = std::min(record_.NumberOfTracks, first + kRowsPerPage - 1);
    lblPage_->setText(QStringLiteral("Tracks %1 to %2 of %3").arg(first).arg(last).arg(record_.NumberOfTracks));
    lblPage_->setVisible(paged);
    cmdPrevPage_->setVisible(paged);
    cmdNextPage_->setVisible(paged);
    cmdPrevPage_->setEnabled(page_ > 0);
    cmdNextPage_->setEnabled(last < record_.NumberOfTracks);
}

void FrmAddCD::mergeTitles(const DiscTitles& titles) {
    txtTitle_->setText(titles.title);
    txtArtist_->setText(titles.artist);
    for (const auto& [number, title] : titles.tracks)
        if (QLineEdit* box = txtTrk(number)) box->setText(title);
}

void FrmAddCD::cmdLocate_Click() { emit locateRequested(); }

void FrmAddCD::cmdExit_Click() { close(); }

bool FrmAddCD::Form_Unload() {
    DiscRecord saved = record_;
    saved.Title = txtTitle_->text();
    saved.Artist = txtArtist_->text();
    // Only rows within the disc's tracks are saved; text merged into a hidden row is not.
    for (int n = 1; n <= kMaxTracks; ++n)
        if (rowShown(n)) saved.track(n) = txtTrk_[static_cast<std::size_t>(n)]->text();
    const QString error = database_.store(discId_, editorSectionEntries(saved));
    if (!error.isEmpty()) {
        boxes_.show(QStringLiteral("The track titles were not saved.\r\n\r\n%1\r\n\r\n"
                                   "The editor stays open with your titles; close it again once the "
                                   "problem is solved.")
                        .arg(error),
                    QStringLiteral("Velmora"), MsgBox::Critical | MsgBox::OkOnly);
        return false;
    }
    saved.Revision = 1;
    record_ = saved;
    emit titlesChanged(discId_, saved);
    return true;
}

void FrmAddCD::closeEvent(QCloseEvent* event) {
    if (!saved_ && !Form_Unload()) {
        event->ignore();
        return;
    }
    saved_ = true;
    event->accept();
    emit closed();
}

}  // namespace velmora
