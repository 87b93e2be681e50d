#include "app_fixture.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>

using namespace velmora;
using namespace velmora::test;

namespace {
const QChar kNul(u'\0');

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};
}  // namespace

using MainFaceViewTest = AppFixture;

TEST_F(MainFaceViewTest, TrackDigitsAreRewrittenOnlyWhenTheTrackChanges) {
    start();
    playFor(8 * 250'000 + 1'000);  // track 9
    EXPECT_EQ(leds(), "090001");
    advance(250'000);
    EXPECT_EQ(leds(), "100001");
    // Digits that already read back as the track stay as they are.
    controls().ledTRK[0]->setDigit(1);
    controls().ledTRK[1]->setDigit(0);
    advance(1'000);
    EXPECT_EQ(leds(), "100002");

    window->view().ShowTrackNumber("07");
    window->view().ShowTrackTime("12345");  // minutes past 99: the last four characters show
    EXPECT_EQ(leds(), "072345");
}

TEST_F(MainFaceViewTest, LabelsShowTheRecordAndAreNotRepaintedWhenUnchanged) {
    drive->insert(audioDisc(25, 250));
    start();
    DiscRecord disc = session().disc();
    disc.Title = QStringLiteral("Album") + kNul;
    disc.Artist = QStringLiteral("Band") + kNul;
    for (int n = 1; n <= 30; ++n) disc.track(n) = QStringLiteral("Song %1").arg(n) + kNul;
    session().setDisc(disc);
    EXPECT_EQ(controls().lblCDName->text(), "Album");
    EXPECT_EQ(controls().lblCDName->toolTip(), "Album");
    EXPECT_EQ(controls().lblArtist->text(), "Band");
    EXPECT_EQ(controls().lblTrk->text(), "Song 1");

    PaintCounter counter;
    controls().lblCDName->installEventFilter(&counter);
    tick();
    tick();
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);

    // Titles past the twentieth track show too.
    playFor(20 * 250'000 + 3'000);
    ASSERT_EQ(state().CurrentTrack, 21);
    EXPECT_EQ(controls().lblTrk->text(), "Song 21");
}

TEST_F(MainFaceViewTest, TrackPickerTogglesRebuildsAndLeavesItsButtonsClickable) {
    start();
    auto* list = window->trackList();
    auto* picker = window->findChild<QWidget*>(QStringLiteral("picTrack"));
    auto* editor = window->findChild<QWidget*>(QStringLiteral("picEditTrackList"));
    window->picTrack_Click();
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->count(), 12);
    EXPECT_EQ(list->item(0)->text(), "Track 1 - ");
    // The open list covers neither picture button: the second click reaches the picker.
    for (QWidget* button : {picker, editor})
        EXPECT_EQ(window->childAt(button->geometry().center()), button) << button->objectName().toStdString();
    window->picTrack_Click();
    EXPECT_FALSE(list->isVisible());

    drive->remove();
    tick();
    drive->insert(audioDisc(3, 100));
    tick();
    window->picTrack_Click();
    EXPECT_EQ(list->count(), 3);
    list->item(1)->setSelected(true);
    recording.sent.clear();
    window->TrackList_DblClick();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(recording.sent.front(), "seek cd to 2");
}
