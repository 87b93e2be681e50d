#pragma once

#include "cddb/cddb_record.h"
#include "cddb/cddb_request.h"
#include "chrome/skinned_window.h"
#include "discdb/disc_titles.h"

#include <array>
#include <optional>

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

// The lookup window: asks a CDDB server for a disc a second after it opens, shows what it
// found, and hands the titles on when the user merges them. It saves nothing. Rows 1 to
// 20 sit in two columns of ten; a record of more tracks pages through further sets of
// twenty in the same places. The window stays live during the lookup: closing it cancels
// the lookup, and it goes at once.
class FrmQueryInterNet : public SkinnedWindow {
    Q_OBJECT
public:
    static constexpr int kRowsPerPage = 20;

    FrmQueryInterNet(CddbLookup lookup, HttpFetcher& fetcher, MessageBoxService& boxes);
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

signals:
    // Merge: the record's titles, just before the window closes.
    void titlesChosen(const velmora::DiscTitles& titles);
    // The lookup has ended, other than by closing the window: record or "Record Not
    // Found" shown, failure reported, or no disc to look up.
    void lookupEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void queryEnded(const CddbOutcome& outcome);
    void showRecord(const CddbRecord& record, const QString& reply);
    void showNotFound();
    int pageCount() const;

    CddbLookup lookup_;
    HttpFetcher& fetcher_;
    MessageBoxService& boxes_;
    CddbQuery* query_ = nullptr;
    std::optional<CddbRecord> record_;
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
    QPlainTextEdit* txtResult_ = nullptr;
    QTimer* tmrCheckNet_ = nullptr;
};

}  // namespace velmora
