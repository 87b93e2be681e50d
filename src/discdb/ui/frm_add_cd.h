#pragma once

#include "chrome/skinned_window.h"
#include "discdb/disc_id.h"
#include "shared/disc_record.h"

#include <QPointer>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace velmora {

class DiscDatabase;
class MessageBoxService;
class PictureButton;
class PlayerSession;

// The track list editor: a round, topmost window where the user types the disc's title,
// artist and track titles. It loads the disc's section when it opens and writes it back
// whenever it closes. Rows 1 to 20 sit in two columns of ten; a disc of more tracks
// pages through further sets of twenty in the same places.
class FrmAddCD : public SkinnedWindow {
    Q_OBJECT
public:
    static constexpr int kRowsPerPage = 20;

    // `openLookup` shows the lookup window for this editor and returns it, so that it
    // closes with the editor.
    FrmAddCD(PlayerSession& session, DiscDatabase& database, MessageBoxService& boxes,
             std::function<QWidget*(FrmAddCD&)> openLookup = {});
    ~FrmAddCD() override;

    // The window's load: centred, topmost and round; the disc's section in the boxes.
    void Form_Load();

    // The boxes the lookup's merge writes into.
    QLineEdit* txtTitle() const { return txtTitle_; }
    QLineEdit* txtArtist() const { return txtArtist_; }
    QLineEdit* txtTrk(int n) const;  // 1..99
    bool rowShown(int n) const;      // within the disc's tracks (row 1 always)
    int page() const { return page_; }
    void showPage(int page);

    // The disc ID the editor loaded and saves under.
    const QString& discId() const { return discId_; }
    // The drive's table of contents as read then, for the lookup's disc ID.
    const DiscTocReplies& toc() const { return toc_; }

    void cmdLocate_Click();
    void cmdExit_Click();

signals:
    // The editor has saved and closed; the main window comes back.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void updatePageControls();
    // Copies the boxes into the record and saves it; false (with the user told why, and
    // the editor left open) when the file could not be written.
    bool Form_Unload();

    PlayerSession& session_;
    DiscDatabase& database_;
    MessageBoxService& boxes_;
    std::function<QWidget*(FrmAddCD&)> openLookup_;
    QPointer<QWidget> lookup_;

    DiscRecord record_;
    QString discId_;
    DiscTocReplies toc_;
    int page_ = 0;

    QLineEdit* txtTitle_ = nullptr;
    QLineEdit* txtArtist_ = nullptr;
    std::array<QLineEdit*, DiscRecord::kMaxTracks + 1> txtTrk_{};
    std::array<QLabel*, DiscRecord::kMaxTracks + 1> lblTrk_{};
    PictureButton* cmdLocate_ = nullptr;
    PictureButton* cmdExit_ = nullptr;
    QToolButton* cmdPrevPage_ = nullptr;
    QToolButton* cmdNextPage_ = nullptr;
    QLabel* lblPage_ = nullptr;
    bool saved_ = false;
};

}  // namespace velmora
