#include "cddb/ui/frm_query_internet.h"

#include "cddb/cddb_merge.h"
#include "cddb/cddb_query.h"
#include "chrome/artwork_windows.h"
#include "chrome/form_controls.h"
#include "chrome/picture_button.h"
#include "platform/message_box.h"
#include "platform/ui/window_shape.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kWidthTwips = 7530;
constexpr int kHeightTwips = 3780;
constexpr int kRowTop = 750;
constexpr int kRowStep = 225;
constexpr int kRowHeight = 165;

QRect captionPlace(int index) {
    if (index < 10) return twipsRect(index == 9 ? 300 : 375, kRowTop + kRowStep * index, 660, kRowHeight);
    return twipsRect(3825, kRowTop + kRowStep * (index - 10), 735, kRowHeight);
}

QRect titlePlace(int index) {
    return twipsRect(index < 10 ? 1050 : 4575, kRowTop + kRowStep * (index % 10), 2700, kRowHeight);
}

QString rowCaption(int track) { return QStringLiteral("Track %1 :").arg(track); }

CddbRecord recordOf(const MusicBrainzRelease& release) {
    CddbRecord record;
    record.artist = release.artist;
    record.title = release.title;
    for (const QString& track : release.tracks) record.tracks.emplace_back(track);
    return record;
}

}  // namespace

FrmQueryInterNet::FrmQueryInterNet(CddbLookup lookup, HttpFetcher& fetcher, MessageBoxService& boxes,
                                   MusicBrainzSource musicBrainz)
    : lookup_(std::move(lookup)), fetcher_(fetcher), boxes_(boxes), musicBrainz_(std::move(musicBrainz)) {
    setObjectName(QStringLiteral("frmQueryInterNet"));
    setWindowTitle(QStringLiteral("Velmora CDDB Lookup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    setSkin(artwork::lookupBackground(), Qt::black);
    createControls();

    tmrCheckNet_ = new QTimer(this);
    tmrCheckNet_->setObjectName(QStringLiteral("tmrCheckNet"));
    tmrCheckNet_->setInterval(1000);
    connect(tmrCheckNet_, &QTimer::timeout, this, &FrmQueryInterNet::tmrCheckNet_Timer);
}

FrmQueryInterNet::~FrmQueryInterNet() = default;

void FrmQueryInterNet::createControls() {
    auto* artistCaption = yellowLabel(this, QStringLiteral("CD Artist"), twipsRect(150, 225, 840, 240));
    artistCaption->setObjectName(QStringLiteral("lbl"));
    artistCaption->setProperty("index", 1);
    auto* titleCaption = yellowLabel(this, QStringLiteral("CD Title"), twipsRect(225, 450, 840, 240));
    titleCaption->setObjectName(QStringLiteral("lbl"));
    titleCaption->setProperty("index", 0);
    fitCaption(artistCaption);
    fitCaption(titleCaption);
    lblArtist_ = yellowLabel(this, QStringLiteral("Searching Database ..."), twipsRect(1050, 225, 6315, 240));
    lblArtist_->setObjectName(QStringLiteral("lblArtist"));
    lblTitle_ = yellowLabel(this, QStringLiteral("Accessing CDDB..."), twipsRect(1050, 450, 6315, 240));
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));

    for (int i = 0; i < kRowsPerPage; ++i) {
        QLabel* caption = yellowLabel(this, rowCaption(i + 1), captionPlace(i), 8.25, false);
        caption->setObjectName(QStringLiteral("lblT"));
        caption->setProperty("index", i);
        fitCaption(caption);  // "Track 10 :" is wider than its design place
        lblT_[static_cast<std::size_t>(i)] = caption;
        QLabel* title = yellowLabel(this, QStringLiteral("CD Title"), titlePlace(i), 8.25, false);
        title->setObjectName(QStringLiteral("lblTrack"));
        title->setProperty("index", i);
        lblTrack_[static_cast<std::size_t>(i)] = title;
    }

    cmdMerge_ = new PictureButton(this);
    cmdMerge_->setObjectName(QStringLiteral("cmdMerge"));
    cmdMerge_->setGeometry(twipsRect(300, 3150, 2790, 465));
    cmdMerge_->setPictures(artwork::lookupMergePicture(true), artwork::lookupMergePicture(false),
                           artwork::lookupMergePicture(true, true));
    cmdMerge_->setToolTip(QStringLiteral("Put These Titles Into The Track List Editor"));
    cmdMerge_->setEnabled(false);
    connect(cmdMerge_, &QAbstractButton::clicked, this, &FrmQueryInterNet::cmdMerge_Click);

    cmdCancel_ = new PictureButton(this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setGeometry(twipsRect(3300, 3150, 1665, 465));
    cmdCancel_->setPictures(artwork::lookupCancelPicture(), {}, artwork::lookupCancelPicture(true));
    cmdCancel_->setToolTip(QStringLiteral("Close Without Taking These Titles"));
    connect(cmdCancel_, &QAbstractButton::clicked, this, &FrmQueryInterNet::cmdCancel_Click);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgCDDBLogo"));
    logo->setGeometry(twipsRect(6450, 3000, 870, 600));
    logo->setPixmap(artwork::cddbLogoSmall());
    logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Paging for records of more than twenty tracks, between the buttons and the logo.
    auto pageButton = [this](const char* name, Qt::ArrowType arrow, int left, int delta) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setArrowType(arrow);
        b->setAutoRaise(true);
        b->setGeometry(twipsRect(left, 3225, 270, 300));
        b->setStyleSheet(QStringLiteral("QToolButton { color: rgb(255, 255, 0); background: transparent; }"));
        connect(b, &QToolButton::clicked, this, [this, delta] { showPage(page_ + delta); });
        b->hide();
        return b;
    };
    cmdPrevPage_ = pageButton("cmdPrevPage", Qt::LeftArrow, 5040, -1);
    cmdNextPage_ = pageButton("cmdNextPage", Qt::RightArrow, 6150, +1);
    lblPage_ = yellowLabel(this, QString(), twipsRect(5310, 3225, 840, 300), 8.25, true);
    lblPage_->setObjectName(QStringLiteral("lblPage"));
    lblPage_->setAlignment(Qt::AlignCenter);
    lblPage_->hide();

    // A record from MusicBrainz names its source at the end of the artist's line; several
    // releases get a chooser on the title line, above the rows.
    lblSource_ = yellowLabel(this, QStringLiteral("From MusicBrainz"), twipsRect(5250, 225, 2115, 240), 8.25, false);
    lblSource_->setObjectName(QStringLiteral("lblSource"));
    lblSource_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSource_->hide();
    cmbRelease_ = new QComboBox(this);
    cmbRelease_->setObjectName(QStringLiteral("cmbRelease"));
    cmbRelease_->setGeometry(twipsRect(1050, 435, 6315, 270));
    cmbRelease_->setFont(arialFont(8.25));
    cmbRelease_->setToolTip(QStringLiteral("The Releases MusicBrainz Knows This Disc From"));
    connect(cmbRelease_, &QComboBox::activated, this, &FrmQueryInterNet::chooseRelease);
    cmbRelease_->hide();

    // Below the client area: the raw reply is kept, never shown.
    txtResult_ = new QPlainTextEdit(QStringLiteral("Text1"), this);
    txtResult_->setObjectName(QStringLiteral("txtResult"));
    txtResult_->setGeometry(twipsRect(150, 4500, 7200, 720));
    txtResult_->setReadOnly(true);
    txtResult_->setFocusPolicy(Qt::NoFocus);
}

void FrmQueryInterNet::Form_Load() {
    centreOnScreen(this);
    setWindowRegion(this, roundRectRegion(0, 8, 500, 250, 35, 35));
    placeWindow(this, Layer::Topmost, /*activate=*/false);
    tmrCheckNet_->start();
}

void FrmQueryInterNet::tmrCheckNet_Timer() {
    tmrCheckNet_->stop();
    QueryCDDB();
}

void FrmQueryInterNet::QueryCDDB() {
    if (query_) return;
    if (lookup_.discId.isEmpty()) {
        // Nothing a server could know: no audio disc, or a table the drive did not give.
        lblArtist_->setText(QStringLiteral("No Audio Disc To Look Up"));
        lblTitle_->setText(QString());
        emit lookupEnded();
        return;
    }
    query_ = new CddbQuery(fetcher_, this);
    connect(query_, &CddbQuery::status, lblArtist_, &QLabel::setText);
    connect(query_, &CddbQuery::finished, this, &FrmQueryInterNet::queryEnded);
    query_->start(lookup_);
}

void FrmQueryInterNet::queryEnded(const CddbOutcome& outcome) {
    switch (outcome.kind) {
    case CddbOutcome::Kind::Found:
        showRecord(outcome.record, outcome.reply);
        emit lookupEnded();
        return;
    case CddbOutcome::Kind::NotFound:
        showNotFound();
        break;
    case CddbOutcome::Kind::Failed: {
        const QPointer<FrmQueryInterNet> alive(this);
        boxes_.show(outcome.failureText, QString::fromLatin1(kCddbErrorTitle), kCddbErrorStyle | MsgBox::OkOnly);
        if (!alive) return;  // closed while the box was up
        break;
    }
    }
    if (!askMusicBrainz()) emit lookupEnded();
}

bool FrmQueryInterNet::askMusicBrainz() {
    if (!musicBrainz_.fetcher || !musicBrainz_.lookup.disc.valid()) return false;
    artistBefore_ = lblArtist_->text();
    titleBefore_ = lblTitle_->text();
    lblArtist_->setText(QStringLiteral("Searching MusicBrainz ..."));
    musicBrainzQuery_ = new MusicBrainzQuery(*musicBrainz_.fetcher, this);
    connect(musicBrainzQuery_, &MusicBrainzQuery::finished, this, &FrmQueryInterNet::musicBrainzEnded);
    musicBrainzQuery_->start(musicBrainz_.lookup);
    return true;
}

void FrmQueryInterNet::musicBrainzEnded(const MusicBrainzOutcome& outcome) {
    switch (outcome.kind) {
    case MusicBrainzOutcome::Kind::Found:
        releases_ = outcome.releases;
        cmbRelease_->clear();
        for (const MusicBrainzRelease& release : releases_) cmbRelease_->addItem(release.description());
        cmbRelease_->setVisible(releases_.size() > 1);
        lblTitle_->setVisible(releases_.size() <= 1);
        // The source takes the end of the artist's line.
        lblArtist_->setGeometry(twipsRect(1050, 225, 4200, 240));
        lblSource_->show();
        chooseRelease(0);
        break;
    case MusicBrainzOutcome::Kind::NotFound:
        showNotFound();
        break;
    case MusicBrainzOutcome::Kind::Failed: {
        const QPointer<FrmQueryInterNet> alive(this);
        boxes_.show(outcome.failureText, QString::fromLatin1(kMusicBrainzErrorTitle),
                    MsgBox::Information | MsgBox::OkOnly);
        if (!alive) return;
        lblArtist_->setText(artistBefore_);
        lblTitle_->setText(titleBefore_);
        break;
    }
    }
    emit lookupEnded();
}

void FrmQueryInterNet::chooseRelease(int index) {
    if (index < 0 || index >= static_cast<int>(releases_.size())) return;
    const MusicBrainzRelease& release = releases_[static_cast<std::size_t>(index)];
    if (cmbRelease_->currentIndex() != index) cmbRelease_->setCurrentIndex(index);
    showRecord(recordOf(release), QStringLiteral("MusicBrainz release %1").arg(release.id));
    release_ = index;
}

void FrmQueryInterNet::showRecord(const CddbRecord& record, const QString& reply) {
    record_ = record;
    lblArtist_->setText(record.artist);
    lblTitle_->setText(record.title);
    showPage(0);
    show();
    cmdMerge_->setEnabled(true);
    txtResult_->setPlainText(reply);
}

void FrmQueryInterNet::showNotFound() {
    record_.reset();
    release_ = -1;
    for (int i = 0; i < kRowsPerPage; ++i) {
        lblT_[static_cast<std::size_t>(i)]->hide();
        lblTrack_[static_cast<std::size_t>(i)]->hide();
    }
    show();
    const QString notFound = QString::fromLatin1(kCddbRecordNotFound);
    txtResult_->setPlainText(notFound);
    lblTitle_->setText(notFound);
    lblArtist_->setText(notFound);
    cmdMerge_->setEnabled(false);
}

int FrmQueryInterNet::pageCount() const {
    const int tracks = record_ ? static_cast<int>(record_->tracks.size()) : 0;
    return std::max(1, (tracks + kRowsPerPage - 1) / kRowsPerPage);
}

void FrmQueryInterNet::showPage(int page) {
    if (!record_) return;
    page_ = std::clamp(page, 0, pageCount() - 1);
    for (int i = 0; i < kRowsPerPage; ++i) {
        const int index = page_ * kRowsPerPage + i;
        const std::optional<QString> title = record_->track(index);
        QLabel* caption = lblT_[static_cast<std::size_t>(i)];
        QLabel* label = lblTrack_[static_cast<std::size_t>(i)];
        caption->setText(rowCaption(index + 1));
        caption->setFont(arialFont(8.25));
        fitCaption(caption);
        label->setText(title.value_or(QStringLiteral("N/A")));
        caption->setVisible(title.has_value());
        label->setVisible(title.has_value());
    }
    const int tracks = static_cast<int>(record_->tracks.size());
    const bool paged = pageCount() > 1;
    lblPage_->setText(
        QStringLiteral("%1 - %2").arg(page_ * kRowsPerPage + 1).arg(std::min(tracks, (page_ + 1) * kRowsPerPage)));
    lblPage_->setVisible(paged);
    cmdPrevPage_->setVisible(paged);
    cmdNextPage_->setVisible(paged);
    cmdPrevPage_->setEnabled(page_ > 0);
    cmdNextPage_->setEnabled(page_ < pageCount() - 1);
}

void FrmQueryInterNet::cmdMerge_Click() {
    if (record_) {
        const QPointer<FrmQueryInterNet> alive(this);
        emit titlesChosen(mergedTitles(*record_));
        if (!alive) return;
        if (release_ >= 0) {
            emit releaseChosen(releases_[static_cast<std::size_t>(release_)].id);
            if (!alive) return;
        }
    }
    close();
}

void FrmQueryInterNet::cmdCancel_Click() { close(); }

void FrmQueryInterNet::closeEvent(QCloseEvent* event) {
    if (query_) query_->cancel();
    if (musicBrainzQuery_) musicBrainzQuery_->cancel();
    SkinnedWindow::closeEvent(event);
}

}  // namespace velmora
