#pragma once

#include "chrome/skinned_window.h"
#include "discdb/disc_titles.h"
#include "shared/disc_record.h"
#include "shared/units.h"

#include <array>

class QLabel;
class QLineEdit;
class QToolButton;

namespace velmora {

class DiscDatabase;
class MessageBoxService;
class PictureButton;

// The track list editor: a round, topmost window where the user types the disc's title,
// artist and track titles. It loads the disc's section when it opens and writes it back
// whenever it closes. Rows 1 to 20 sit in two columns of ten; a disc of more tracks
// pages through further sets of twenty in the same places.
class FrmAddCD : public SkinnedWindow {
    Q_OBJECT
public:
    static constexpr int kRowsPerPage = 20;

    FrmAddCD(DiscDatabase& database, MessageBoxService& boxes);
    ~FrmAddCD() override;

    // The window's load: centred, topmost and round; the section of the disc in the drive
    // (`discId`) in the boxes, over `current`, the record the player holds. A key the
    // section lacks shows the record's value.
    void Form_Load(const QString& discId, const DiscRecord& current);

    // Found titles into the boxes, saved like typed text when the editor closes. Tracks
    // the titles do not name keep what their boxes hold.
    void mergeTitles(const DiscTitles& titles);

    // The boxes.
    QLineEdit* txtTitle() const { return txtTitle_; }
    QLineEdit* txtArtist() const { return txtArtist_; }
    QLineEdit* txtTrk(int n) const;  // 1..99
    bool rowShown(int n) const;      // within the disc's tracks (row 1 always)
    int page() const { return page_; }
    void showPage(int page);

    // The disc ID the editor loaded and saves under.
    const QString& discId() const { return discId_; }

    void cmdLocate_Click();
    void cmdExit_Click();

signals:
    // The record of the disc `discId` as loaded, and again as saved.
    void titlesChanged(const QString& discId, const velmora::DiscRecord& record);
    // Locate was pressed: the titles are to be looked up.
    void locateRequested();
    // The editor has saved and closed; the main window comes back.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void updatePageControls();
    void placeRow(int n);
    // Copies the boxes into the record and saves it; false (with the user told why, and
    // the editor left open) when the file could not be written.
    bool Form_Unload();

    DiscDatabase& database_;
    MessageBoxService& boxes_;

    DiscRecord record_;
    QString discId_;
    int page_ = 0;

    QLineEdit* txtTitle_ = nullptr;
    QLineEdit* txtArtist_ = nullptr;
    std::array<QLineEdit*, kMaxTracks + 1> txtTrk_{};
    std::array<QLabel*, kMaxTracks + 1> lblTrk_{};
    PictureButton* cmdLocate_ = nullptr;
    PictureButton* cmdExit_ = nullptr;
    QToolButton* cmdPrevPage_ = nullptr;
    QToolButton* cmdNextPage_ = nullptr;
    QLabel* lblPage_ = nullptr;
    bool saved_ = false;
};

}  // namespace velmora
