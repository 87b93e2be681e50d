#include "discdb/disc_database.h"
#include "discdb/profile_file.h"
#include "discdb/ui/frm_add_cd.h"
#include "platform/message_box.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

class EditorTest : public ::testing::Test {
protected:
    // The editor over `current`, the record the player holds for the disc.
    FrmAddCD* open(const DiscRecord& current = {}) {
        auto* editor = new FrmAddCD(database, boxes);
        editor->Form_Load(id(), current);
        return editor;
    }
    void storeSection(const QStringList& entries) {
        ASSERT_TRUE(profile::writeSection(database.filePath(), id(), entries));
    }
    QStringList section() { return profile::readSection(database.filePath(), id()).entries; }
    static QString id() { return QStringLiteral("1C02F203"); }

    QTemporaryDir dir;
    DiscDatabase database{dir.filePath(QStringLiteral("Velmora.ini"))};
    RecordingMessageBoxes boxes;
};

}  // namespace

TEST_F(EditorTest, RowsFollowTheTrackCountAndTheKeyboardAndTheMouseFollowTheFace) {
    // The first row is always there; twenty fit on one page.
    const std::pair<const char*, int> cases[] = {
        {"NumberOfTracks=12", 12}, {"NumberOfTracks=0", 1}, {"NumberOfTracks=20", 20}};
    for (const auto& [entry, rows] : cases) {
        storeSection({QString::fromLatin1(entry)});
        FrmAddCD* editor = open();
        for (int n = 1; n <= 20; ++n) EXPECT_EQ(editor->txtTrk(n)->isVisible(), n <= rows) << entry << " row " << n;
        EXPECT_FALSE(editor->findChild<QToolButton*>(QStringLiteral("cmdNextPage"))->isVisible());
        editor->close();
    }

    FrmAddCD* editor = open();
    // Outside the round outline nothing takes the mouse.
    EXPECT_FALSE(editor->mask().contains(QPoint(2, 2)));
    EXPECT_TRUE(editor->mask().contains(QPoint(240, 234)));
    // Tab order: exit, artist, title, tracks 1 to 13, locate, track 14.
    QWidget* w = editor->findChild<QWidget*>(QStringLiteral("cmdExit"));
    QStringList order;
    for (int i = 0; i < 17; ++i) {
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
        order << (w->objectName() + (w->property("index").isValid() ? w->property("index").toString() : QString()));
    }
    EXPECT_EQ(order.mid(0, 3), (QStringList{"txtArtist", "txtTitle", "txtTrk1"}));
    EXPECT_EQ(order.mid(15, 2), (QStringList{"cmdLocate", "txtTrk14"}));
    editor->close();
}

TEST_F(EditorTest, LoadTrimsAndCloseSavesInOrderWithoutNuls) {
    storeSection({"Title=Album   ", "Revision=7", "NumberOfTracks=3", "Track1=One ", "Track2=Two", "Track3=Three",
                  "Track5=stray"});
    DiscRecord current;
    current.Artist = QStringLiteral("Band  ");  // a key the section lacks shows the player's value
    FrmAddCD* editor = open(current);
    QSignalSpy changed(editor, &FrmAddCD::titlesChanged);
    EXPECT_EQ(editor->txtTitle()->text(), "Album");
    EXPECT_EQ(editor->txtArtist()->text(), "Band");
    EXPECT_EQ(editor->txtTrk(1)->text(), "One");
    // A lookup's titles: the tracks it does not name keep what their boxes hold.
    editor->mergeTitles({QStringLiteral("Merged"), QStringLiteral("Band"), {{3, QStringLiteral("Drei")}}});
    editor->txtTrk(2)->setText(QStringLiteral("Second"));
    editor->txtTrk(5)->setText(QStringLiteral("hidden row"));  // not a track of the disc: not saved
    editor->close();
    EXPECT_EQ(section(), (QStringList{"Title=Merged", "Artist=Band", "Revision=1", "NumberOfTracks=3", "Track1=One",
                                      "Track2=Second", "Track3=Drei"}));
    // The saved record goes back to the player under the ID the editor loaded.
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toString(), id());
    EXPECT_EQ(changed[0][1].value<DiscRecord>().track(2), "Second");
}

TEST_F(EditorTest, DiscsOfMoreThanTwentyTracksPageAndKeepEveryTitle) {
    QStringList entries{"Title=Long", "Artist=A", "Revision=1", "NumberOfTracks=40"};
    for (int n = 1; n <= 40; ++n) entries << QStringLiteral("Track%1=Song %1").arg(n);
    storeSection(entries);
    FrmAddCD* editor = open();
    auto* next = editor->findChild<QToolButton*>(QStringLiteral("cmdNextPage"));
    ASSERT_TRUE(next->isVisible());
    EXPECT_FALSE(editor->txtTrk(21)->isVisible());
    next->click();
    EXPECT_FALSE(editor->txtTrk(20)->isVisible());
    EXPECT_TRUE(editor->txtTrk(40)->isVisible());
    EXPECT_EQ(editor->txtTrk(31)->geometry(), editor->txtTrk(11)->geometry());  // the same places
    EXPECT_FALSE(next->isEnabled());
    // Every caption shows whole, inside the round outline: the page ("Tracks 21 to 40 of
    // 40") and the two-digit numbers, whose boxes never overlap them.
    for (QLabel* label : editor->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty()) continue;
        const std::string what = label->objectName().toStdString() + " " + label->text().toStdString();
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width()) << what;
        EXPECT_EQ(editor->mask().intersected(label->geometry()), QRegion(label->geometry())) << what;
        if (label->objectName() == QLatin1String("lblTrk")) {
            EXPECT_FALSE(label->geometry().intersects(editor->txtTrk(label->text().toInt())->geometry())) << what;
        }
    }
    editor->txtTrk(33)->setText(QStringLiteral("Thirty-three"));
    editor->close();
    const QStringList saved = section();
    ASSERT_EQ(saved.size(), 44);
    EXPECT_EQ(saved[4 + 32], "Track33=Thirty-three");
    EXPECT_EQ(saved[4], "Track1=Song 1");  // a page out of sight keeps its titles
}

TEST_F(EditorTest, AFailedSaveSaysWhyAndKeepsTheEditorOpen) {
    storeSection({"Title=Before", "NumberOfTracks=2"});
    FrmAddCD* editor = open();
    editor->show();
    editor->txtTitle()->setText(QStringLiteral("Typed"));
    // The database's place taken by a folder: the file cannot be replaced.
    ASSERT_TRUE(QFile::remove(database.filePath()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Velmora.ini")));
    editor->close();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->txtTitle()->text(), "Typed");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(database.filePath())) << boxes.shown[0].text.toStdString();

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Velmora.ini")));
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(section().first(), "Title=Typed");
}
