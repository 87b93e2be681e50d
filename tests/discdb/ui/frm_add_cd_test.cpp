#include "discdb/profile_file.h"
#include "discdb/ui/frm_add_cd.h"
#include "player_rig.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

class EditorTest : public ::testing::Test, public PlayerRig {
protected:
    FrmAddCD* open() {
        auto* editor = new FrmAddCD(core.session, database, boxes);
        editor->Form_Load();
        return editor;
    }
    void storeSection(const QStringList& entries) {
        ASSERT_TRUE(profile::writeSection(database.filePath(), id(), entries));
    }
    QStringList section() { return profile::readSection(database.filePath(), id()).entries; }
    QString id() const { return core.session.disc().ID; }
};

}  // namespace

TEST_F(EditorTest, RowsFollowTheTrackCountAndTheKeyboardAndTheMouseFollowTheFace) {
    // The first row is always there; twenty fit on one page.
    const std::pair<const char*, int> cases[] = {
        {"NumberOfTracks=12", 12}, {"NumberOfTracks=0", 1}, {"NumberOfTracks=20", 20}};
    for (const auto& [entry, rows] : cases) {
        core.session.mutableDisc().NumberOfTracks = 0;
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
    storeSection({"Title=Album   ", "Artist=Band", "Revision=7", "NumberOfTracks=3", "Track1=One ", "Track2=Two",
                  "Track3=Three", "Track5=stray"});
    FrmAddCD* editor = open();
    EXPECT_EQ(editor->txtTitle()->text(), "Album");
    EXPECT_EQ(editor->txtTrk(1)->text(), "One");
    editor->txtTrk(2)->setText(QStringLiteral("Second"));
    editor->txtTrk(5)->setText(QStringLiteral("hidden row"));  // not a track of the disc: not saved
    editor->close();
    EXPECT_EQ(section(), (QStringList{"Title=Album", "Artist=Band", "Revision=1", "NumberOfTracks=3", "Track1=One",
                                      "Track2=Second", "Track3=Three"}));
    EXPECT_EQ(core.session.disc().Title, "Album");  // no NUL: the editor's own form
}

TEST_F(EditorTest, DiscsOfMoreThanTwentyTracksPageAndKeepEveryTitle) {
    insert(discOf(40));
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
    EXPECT_EQ(editor->txtTrk(21)->geometry(), editor->txtTrk(1)->geometry());  // the same places
    EXPECT_FALSE(next->isEnabled());
    editor->txtTrk(33)->setText(QStringLiteral("Thirty-three"));
    editor->close();
    const QStringList saved = section();
    ASSERT_EQ(saved.size(), 44);
    EXPECT_EQ(saved[4 + 32], "Track33=Thirty-three");
    EXPECT_EQ(saved[4], "Track1=Song 1");  // a page out of sight keeps its titles
}

TEST_F(EditorTest, ADiscSwappedWhileOpenDoesNotReceiveTheTitles) {
    storeSection({"Title=First disc", "NumberOfTracks=12"});
    FrmAddCD* editor = open();
    const QString firstId = id();
    drive->remove();
    insert(discOf(5));
    const QString secondId = id();
    ASSERT_NE(secondId, firstId);
    editor->txtTitle()->setText(QStringLiteral("Typed for the first"));
    editor->close();
    EXPECT_EQ(profile::readSection(database.filePath(), firstId).entries.first(), "Title=Typed for the first");
    EXPECT_EQ(profile::readSection(database.filePath(), secondId).entries.first(), "Title=Unknown Title");
    EXPECT_EQ(core.session.disc().Title, QStringLiteral("Unknown Title") + QChar(u'\0'));
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
