// The settings, tip and about windows as the main window opens them, and a lookup to the file.
#include "app_fixture.h"

#include "cddb/ui/frm_query_internet.h"
#include "chrome/popup_menu.h"
#include "dialogs/ui/frm_about.h"
#include "dialogs/ui/frm_tip.h"
#include "discdb/disc_database.h"
#include "discdb/ui/frm_add_cd.h"
#include "settings/active_settings.h"
#include "settings/ui/frm_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace velmora::test {
namespace {

class WindowsTest : public AppFixture {
protected:
    void click(QWidget* parent, const char* name) {
        auto* w = parent->findChild<QWidget*>(QLatin1String(name));
        ASSERT_TRUE(w) << name;
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static FrmQueryInterNet* lookupWindow() {  // a window of its own, over the editor
        FrmQueryInterNet* lookup = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* l = qobject_cast<FrmQueryInterNet*>(w); l && !l->isHidden()) lookup = l;
        return lookup;
    }
    void startWithoutTip() {
        store("Show Tips at Startup", "0");
        start();
    }
};

TEST_F(WindowsTest, SettingsSaveOnEveryCloseAndTakeEffectAtOnceButABrokenServerIsRefused) {
    startWithoutTip();
    writeSkin(QStringLiteral("red.jpg"), window->size(), QColor(200, 0, 0));
    click(window, "imgSetup");
    FrmSettings* settings = app->settingsWindow();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->cmbCDDB()->currentText(), setting("CDDBServer"));
    EXPECT_EQ(settings->txtUserName()->text(), QStringLiteral("tester"));
    EXPECT_FALSE(settings->chkLookupAutomatically()->isChecked()) << "the fixture turned it off";

    // A file picked elsewhere counts only by its name in the Skins folder.
    files.answer = QStringLiteral("/elsewhere/missing.jpg");
    click(settings, "cmdLoadNew");
    EXPECT_EQ(settings->SelectedSkin(), QStringLiteral("cloud_skin.jpg"));
    files.answer = QStringLiteral("/elsewhere/red.jpg");
    click(settings, "cmdLoadNew");
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_EQ(files.asked[0].title, QStringLiteral("Select Skin"));
    EXPECT_EQ(files.asked[0].folder, dir.path() + QStringLiteral("/Skins"));
    EXPECT_EQ(settings->SelectedSkin(), QStringLiteral("red.jpg"));

    settings->cmbCDDB()->setEditText(QStringLiteral("  cddb.example:8080/cgi/cddb.cgi "));
    settings->txtUserName()->setText(QString());
    settings->chkLookupAutomatically()->setChecked(true);
    click(settings, "cmdExit");
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(setting("CDDBServer"), QStringLiteral("cddb.example:8080/cgi/cddb.cgi"));
    EXPECT_EQ(setting("Skin"), QStringLiteral("red.jpg"));
    EXPECT_EQ(setting("UserName"), QString()) << "an empty name is kept, not replaced by the logon name";
    EXPECT_EQ(app->settings().ActiveCDDBServer(), QStringLiteral("cddb.example:8080/cgi/cddb.cgi"));
    EXPECT_EQ(setting("Lookup Automatically"), QStringLiteral("1"));
    EXPECT_TRUE(app->settings().LookupAutomatically());
    const QColor face = window->skin().toImage().pixelColor(window->width() / 2, window->height() / 2);
    EXPECT_GT(face.red(), 150);
    EXPECT_LT(face.green(), 60);
    EXPECT_TRUE(boxes.shown.empty());

    // Which texts are refused: CddbServers tests; here, what the window does with one: the
    // refusal is said once, and with no server stored it says that lookups have none.
    store(QStringLiteral("CDDBServer"), QString());
    app->openSettings()->cmbCDDB()->setEditText(QStringLiteral("my host/cddb.cgi"));
    app->settingsWindow()->close();
    settle();
    EXPECT_EQ(setting("CDDBServer"), QString());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.count(QLatin1String("not changed")), 1) << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(boxes.shown[0].text.contains(QLatin1String("the host name holds a blank")));
    EXPECT_TRUE(
        boxes.shown[0].text.endsWith(QLatin1String("No server is set, so lookups cannot be made until one is.")));
}

TEST_F(WindowsTest, TipOfTheDayDrawsFromTheFileAndStoresTheSwitch) {
    QFile tips(dir.filePath(QStringLiteral("TIPOFDAY.DAT")));
    ASSERT_TRUE(tips.open(QIODevice::WriteOnly));
    tips.write("First tip\nSecond tip\nThird tip");
    tips.close();
    start();
    FrmTip* tip = app->tipWindow();
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->lblTipText()->text(), QStringLiteral("First tip"));
    for (const char* stored : {"0", "1", "0"}) {
        tip->chkLoadTipsAtStartup()->click();
        EXPECT_EQ(setting("Show Tips at Startup"), QLatin1String(stored));
    }
    click(tip, "cmdOK");
    settle();
    EXPECT_FALSE(app->tipWindow());
    start();
    EXPECT_FALSE(app->tipWindow()) << "switched off for the next start";
    store("Show Tips at Startup", "-1");  // any whole number but 0 is on
    start();
    EXPECT_TRUE(app->tipWindow());
}

TEST_F(WindowsTest, AboutOpensBothPagesAndAnyCloseBringsTheMainWindowBack) {
    startWithoutTip();
    const QPoint place = window->pos();
    click(window, "cmdAbout");
    FrmAbout* about = app->aboutWindow();
    ASSERT_TRUE(about);
    EXPECT_FALSE(window->isVisible());
    click(about, "imgCDDB");
    click(about, "imgCDDB");
    click(about, "imgClickHere");
    ASSERT_EQ(browser.opened.size(), 3u);
    EXPECT_EQ(browser.opened[0], browser.opened[1]) << "every click opens the page anew";
    EXPECT_EQ(browser.opened[0].scheme(), QStringLiteral("https"));
    EXPECT_TRUE(browser.opened[2].toString().endsWith(QLatin1String("velmora.html")));
    about->close();  // the window's own close, not the picture button
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), place);
}

// The editor saves under the disc it opened on; a disc swapped meanwhile keeps its own titles.
TEST_F(WindowsTest, TheEditorsTitlesGoToItsOwnDiscWhenTheDiscIsSwapped) {
    startWithoutTip();
    click(window, "picEditTrackList");
    FrmAddCD* editor = app->editor();
    ASSERT_TRUE(editor);
    const QString first = session().disc().ID;
    drive->remove();
    tick();
    drive->insert(audioDisc(5, 200));
    tick();
    ASSERT_NE(session().disc().ID, first);
    editor->txtTitle()->setText(QStringLiteral("Typed for the first"));
    click(editor, "cmdExit");
    settle();
    EXPECT_EQ(session().disc().Title, QStringLiteral("Unknown Title"));
    EXPECT_EQ(app->discDatabase().entries(first).value(0), QStringLiteral("Title=Typed for the first"));
}

TEST_F(WindowsTest, ALookupFromTheMainWindowEndsInTheFileAndOnTheFace) {
    startWithoutTip();
    http.respond = [](const QUrl&, int) -> HttpReply {
        return {
            HttpError::None, 200, "210 jazz 00000000\r\nDTITLE=Quartet / Night Session\r\nTTITLE0=Tune 1\r\n.\r\n", {}};
    };
    click(window, "picEditTrackList");
    FrmAddCD* editor = app->editor();
    ASSERT_TRUE(editor);
    editor->txtTrk(2)->setText(QStringLiteral("Typed"));
    click(editor, "cmdLocate");
    FrmQueryInterNet* lookup = lookupWindow();
    ASSERT_TRUE(lookup);
    lookup->tmrCheckNet()->setInterval(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lookup->findChild<QWidget*>("cmdMerge")->isEnabled(); }));
    ASSERT_EQ(http.requests.size(), 1u);
    const QString asked = http.requests[0].url.toString();  // the server and user of the settings
    EXPECT_TRUE(asked.contains(setting("CDDBServer")) && asked.contains("hello=tester+")) << asked.toStdString();
    click(lookup, "cmdMerge");
    EXPECT_EQ(editor->txtTrk(1)->text(), QStringLiteral("Tune 1"));
    EXPECT_EQ(editor->txtTrk(2)->text(), QStringLiteral("Typed")) << "a track the record does not name";
    click(editor, "cmdExit");
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(session().disc().Title, QStringLiteral("Night Session"));
    QFile file(dir.filePath(QStringLiteral("Velmora.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_TRUE(saved.contains("Title=Night Session\r\n")) << saved.toStdString();
    tick();
    EXPECT_EQ(controls().lblTrk->text(), QStringLiteral("Tune 1"));
}

// One lookup window per editor: Locate raises an open one and opens a fresh one once it
// has closed; closing the editor during the search takes the lookup along, asking no more.
TEST_F(WindowsTest, TheEditorKeepsOneLookupAndTakesItAlong) {
    startWithoutTip();
    http.respond = [](const QUrl&, int) { return std::optional<HttpReply>(); };  // a server that never answers
    click(window, "picEditTrackList");
    FrmAddCD* editor = app->editor();
    ASSERT_TRUE(editor);
    click(editor, "cmdLocate");
    QPointer<FrmQueryInterNet> first = lookupWindow();
    ASSERT_TRUE(first);
    click(editor, "cmdLocate");
    EXPECT_EQ(lookupWindow(), first.data());
    first->cmdCancel_Click();
    settle();
    EXPECT_TRUE(first.isNull());
    click(editor, "cmdLocate");
    QPointer<FrmQueryInterNet> second = lookupWindow();
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->tmrCheckNet()->isActive()) << "a new lookup asks on its timer, not on load";
    second->tmrCheckNet_Timer();
    ASSERT_TRUE(http.outstanding(0));
    click(editor, "cmdExit");
    EXPECT_FALSE(http.outstanding(0)) << "the request is aborted at once";
    settle();
    EXPECT_TRUE(second.isNull());
    QTest::qWait(20);
    EXPECT_EQ(http.requests.size(), 1u);
}

// Quitting while a lookup waits on a server that never answers: the request goes, the editor
// saves, the device closes once and the program ends.
TEST_F(WindowsTest, AQuitDuringALookupEndsCleanly) {
    const struct {
        const char* how;
        void (*quit)(FrmCdplayer*);
    } cases[] = {
        {"Ctrl+Q", [](FrmCdplayer* w) { QTest::keySequence(w, QKeySequence(Qt::CTRL | Qt::Key_Q)); }},
        {"tray menu", [](FrmCdplayer* w) { w->popupMenu().mnuUAR->trigger(); }},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.how);
        programEnded = 0;
        startWithoutTip();
        const auto asked = static_cast<int>(http.requests.size());
        http.respond = [](const QUrl&, int) { return std::optional<HttpReply>(); };
        click(window, "picEditTrackList");
        click(app->editor(), "cmdLocate");
        QPointer<FrmQueryInterNet> lookup = lookupWindow();
        ASSERT_TRUE(lookup);
        lookup->tmrCheckNet_Timer();
        ASSERT_TRUE(http.outstanding(asked));
        window->show();  // the key reaches the main window's shortcut
        window->activateWindow();
        recording.sent.clear();
        tc.quit(window);
        settle();
        EXPECT_FALSE(http.outstanding(asked));
        EXPECT_TRUE(lookup.isNull());
        EXPECT_EQ(programEnded, 1);
        EXPECT_EQ(std::count(recording.sent.begin(), recording.sent.end(), "close all"), 1);
        QTest::qWait(20);
        EXPECT_EQ(http.requests.size(), static_cast<std::size_t>(asked) + 1);
    }
}

}  // namespace
}  // namespace velmora::test
