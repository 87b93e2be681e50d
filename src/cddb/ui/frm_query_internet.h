#pragma once

#include "cddb/cddb_record.h"
#include "cddb/cddb_request.h"
#include "chrome/skinned_window.h"

#include <QPointer>

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QTimer;
class QToolButton;

namespace velmora {

class CddbQuery;
class FrmAddCD;
class HttpFetcher;
class MessageBoxService;
class PictureButton;

// The lookup window: asks a CDDB server for the editor's disc a second after it opens,
// shows what it found, and merges the titles into the editor's boxes. It saves nothing;
// the editor does when it closes. Rows 1 to 20 sit in two columns of ten; a record of
// more tracks pages through further sets of twenty in the same places.
class FrmQueryInterNet : public SkinnedWindow {
    Q_OBJECT
public:
    static constexpr int kRowsPerPage = 20;

    FrmQueryInterNet(FrmAddCD& editor, CddbLookup lookup, HttpFetcher& fetcher, MessageBoxService& boxes);
    ~FrmQueryInterNet() override;

    // Centred, rounded and topmost without taking the focus; the lookup starts on the
    // first tick of tmrCheckNet.
    void Form_Load();
    void tmrCheckNet_Timer();
    void QueryCDDB();
    void cmdMerge_Click();
    void cmdCancel_Click();

    QTimer* tmrCheckNet() const { return tmrCheckNet_; }
    bool searching() const { return query_ != nullptr; }
    const std::optional<CddbRecord>& record() const { return record_; }
    int page() const { return page_; }
    void showPage(int page);

signals:
    // The lookup has ended, whichever way.
    void lookupEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void showRecord(const CddbRecord& record, const QString& reply);
    void showNotFound();
    int pageCount() const;

    QPointer<FrmAddCD> editor_;
    CddbLookup lookup_;
    HttpFetcher& fetcher_;
    MessageBoxService& boxes_;
    std::unique_ptr<CddbQuery> query_;
    bool closeWhenDone_ = false;
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
