#pragma once

#include "cddb/cddb_record.h"
#include "cddb/cddb_request.h"
#include "cddb/musicbrainz_query.h"
#include "chrome/skinned_window.h"
#include "discdb/disc_titles.h"

#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QTimer;
class QToolButton;

namespace velmora {

class CddbQuery;
struct CddbOutcome;
class HttpFetcher;
class MessageBoxService;
class PictureButton;

// Where the lookup window asks when the CDDB server has no record: the program's
// MusicBrainzFetcher and the disc. No fetcher: MusicBrainz is not asked.
struct MusicBrainzSource {
    HttpFetcher* fetcher = nullptr;
    MusicBrainzLookup lookup;
};

// The lookup window: asks a CDDB server for a disc a second after it opens, shows what it
// found, and hands the titles on when the user merges them. It saves nothing. When the
// CDDB search ends without a record, MusicBrainz is asked and its record shows in the same
// rows, its source named, with a chooser of the releases when there are several. Rows 1
// to 20 sit in two columns of ten; a record of more tracks pages through further sets of
// twenty in the same places. The window stays live during the lookup: closing it cancels
// the lookup, and it goes at once.
class FrmQueryInterNet : public SkinnedWindow {
    Q_OBJECT
public:
    static constexpr int kRowsPerPage = 20;

    FrmQueryInterNet(CddbLookup lookup, HttpFetcher& fetcher, MessageBoxService& boxes,
                     MusicBrainzSource musicBrainz = {});
    ~FrmQueryInterNet() override;

    // Centred, rounded and topmost without taking the focus; the lookup starts on the
    // first tick of tmrCheckNet.
    void Form_Load();
    void tmrCheckNet_Timer();
    void QueryCDDB();
    void cmdMerge_Click();
    void cmdCancel_Click();

    QTimer* tmrCheckNet() const { return tmrCheckNet_; }
    const std::optional<CddbRecord>& record() const { return record_; }
    int page() const { return page_; }
    void showPage(int page);
    // The MusicBrainz releases shown, and the one chosen.
    const std::vector<MusicBrainzRelease>& releases() const { return releases_; }
    void chooseRelease(int index);

signals:
    // Merge: the record's titles, just before the window closes.
    void titlesChosen(const velmora::DiscTitles& titles);
    // Merge of a MusicBrainz record: the release it came from (its MBID), after titlesChosen.
    void releaseChosen(const QString& releaseId);
    // The lookup has ended, other than by closing the window: record or "Record Not
    // Found" shown, failure reported, or no disc to look up.
    void lookupEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void queryEnded(const CddbOutcome& outcome);
    bool askMusicBrainz();
    void musicBrainzEnded(const MusicBrainzOutcome& outcome);
    void showRecord(const CddbRecord& record, const QString& reply);
    void showNotFound();
    int pageCount() const;

    CddbLookup lookup_;
    HttpFetcher& fetcher_;
    MessageBoxService& boxes_;
    MusicBrainzSource musicBrainz_;
    CddbQuery* query_ = nullptr;
    MusicBrainzQuery* musicBrainzQuery_ = nullptr;
    QString artistBefore_;  // the captions before MusicBrainz was asked, for when it fails
    QString titleBefore_;
    std::optional<CddbRecord> record_;
    std::vector<MusicBrainzRelease> releases_;
    int release_ = -1;  // the release shown, -1 for a CDDB record
    int page_ = 0;

    QLabel* lblArtist_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    std::array<QLabel*, kRowsPerPage> lblT_{};
    std::array<QLabel*, kRowsPerPage> lblTrack_{};
    PictureButton* cmdMerge_ = nullptr;
    PictureButton* cmdCancel_ = nullptr;
    QToolButton* cmdPrevPage_ = nullptr;
    QToolButton* cmdNextPage_ = nullptr;
    QLabel* lblPage_ = nullptr;
    QLabel* lblSource_ = nullptr;
    QComboBox* cmbRelease_ = nullptr;
    QPlainTextEdit* txtResult_ = nullptr;
    QTimer* tmrCheckNet_ = nullptr;
};

}  // namespace velmora
