#include "app_fixture.h"

#include "settings/active_settings.h"

#include <QGuiApplication>
#include <QScreen>

using namespace velmora;
using namespace velmora::test;

using StartupTest = AppFixture;

TEST_F(StartupTest, OpensTheDriveIdentifiesTheDiscRefreshesAndStoresTheWindowSettings) {
    start();
    ASSERT_TRUE(loaded);
    ASSERT_GE(recording.sent.size(), 4u);
    EXPECT_EQ(recording.sent[0], "open cdaudio alias cd wait shareable");
    EXPECT_EQ(recording.sent[1], "set cd time format tmsf wait");
    EXPECT_EQ(recording.sent[2], "set cd time format msf");  // the disc ID comes first
    EXPECT_TRUE(recording.wasSent("status cd media present"));
    EXPECT_EQ(state().NumTracks, 12);
    EXPECT_FALSE(session().disc().ID.isEmpty());
    EXPECT_EQ(state().SeekStep, 5);
    EXPECT_TRUE(session().tmrUpdate()->isActive());
    EXPECT_EQ(session().tmrUpdate()->interval(), 1000);
    EXPECT_TRUE(app->settings().tmrCheckSettings()->isActive());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(setting("Skin"), "cloud_skin.jpg");  // a first start stores its settings
}

TEST_F(StartupTest, SecondInstanceEndsSilentlyBeforeTouchingTheDrive) {
    onlyInstance = false;
    start();
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(recording.sent.empty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(setting("Top"), "<missing>");
}

TEST_F(StartupTest, DriveThatCannotBeOpenedShowsItsErrorAndEnds) {
    driveAvailable = false;
    start();
    EXPECT_FALSE(loaded);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Velmora");
    EXPECT_EQ(boxes.shown[0].text, QString::fromStdString(MciInterpreter::errorText(266)));
    EXPECT_FALSE(recording.wasSent("set cd time format tmsf wait"));
}

TEST_F(StartupTest, StoredPositionKeepsHalfTheWindowOnScreen) {
    const QRect pixels = QGuiApplication::primaryScreen()->geometry();
    const QSize screen(pixels.width() * 15, pixels.height() * 15);
    const int halfHeight = 161 * 15 / 2, halfWidth = 460 * 15 / 2;
    const auto num = [](int twips) { return QString::number(twips); };
    struct Case {
        QString top, left;
        bool kept;  // else 0, 0
    } cases[] = {
        {"-100", "-100", true},
        {num(-halfHeight), num(-halfWidth), true},
        {num(-halfHeight - 15), num(-halfWidth - 15), false},
        // Exactly at the edge is still on screen: the test is strictly greater.
        {num(screen.height() - halfHeight), num(screen.width() - halfWidth), true},
        {num(screen.height() - halfHeight + 15), num(screen.width() - halfWidth + 15), false},
        {"300", "450", true},
        {"abc", "12x", false},  // not a whole number
        {"", "", false},
    };
    for (const auto& tc : cases) {
        store("Top", tc.top);
        store("Left", tc.left);
        start();
        ASSERT_TRUE(loaded);
        // The window sits on whole pixels: within half a pixel of the stored twips.
        EXPECT_NEAR(window->Top(), tc.kept ? tc.top.toInt() : 0, 8) << tc.top.toStdString();
        EXPECT_NEAR(window->Left(), tc.kept ? tc.left.toInt() : 0, 8) << tc.left.toStdString();
    }
}

TEST_F(StartupTest, CommandLinePlayStartsPlayback) {
    struct Case {
        QString line;
        bool plays;
    } cases[] = {{"play", true},  {"Play", true},   {"PLAY", true},      {"", false},
                 {"play x", false}, {" play", false}, {"/play", false}, {"playing", false}};
    for (const auto& tc : cases) {
        commandLine = tc.line;
        recording.sent.clear();
        drive->stop();
        start();
        EXPECT_EQ(recording.wasSent("play cd"), tc.plays) << tc.line.toStdString();
        EXPECT_EQ(state().Playing, tc.plays) << tc.line.toStdString();
    }
}

TEST_F(StartupTest, TipsFollowTheStoredSetting) {
    struct Case {
        QString value;
        bool shown;
    } cases[] = {{"0", false}, {"1", true}, {"7", true}, {"-1", true}, {"no", false}, {" 0 ", false}};
    for (const auto& tc : cases) {
        store("Show Tips at Startup", tc.value);
        start();
        EXPECT_EQ(app->tipWindow() != nullptr, tc.shown) << tc.value.toStdString();
    }
}

TEST_F(StartupTest, ControlsSitAtTheirPlacesOnTheFace) {
    start();
    struct Case {
        const char* name;
        QRect twips;
    } cases[] = {
        {"cmdAbout", {5925, 100, 240, 240}},      {"cmdMinimize", {6255, 100, 240, 240}},
        {"cmdExit2", {6525, 100, 240, 240}},      {"imgSetup", {300, 75, 1290, 315}},
        {"cmdBackTrack", {150, 1875, 645, 450}},  {"cmdRR", {825, 1875, 645, 450}},
        {"cmdPlay", {1500, 1875, 615, 465}},      {"cmdFF", {2175, 1875, 645, 450}},
        {"cmdForwardTrack", {2850, 1875, 645, 450}}, {"cmdStop", {3525, 1875, 645, 450}},
        {"cmdPause", {4200, 1875, 645, 450}},     {"cmdEject", {4875, 1875, 645, 450}},
        {"sldMain", {6300, 1875, 420, 420}},      {"imgMute", {5925, 1950, 285, 300}},
        {"imgUnmute", {5925, 1950, 285, 300}},
    };
    for (const auto& tc : cases) {
        auto* w = window->findChild<QWidget*>(QLatin1String(tc.name));
        ASSERT_NE(w, nullptr) << tc.name;
        const QRect px = w->geometry();
        // Twips become pixels by 15; a control may be a pixel off where 15 does not divide.
        EXPECT_NEAR(px.x() * 15, tc.twips.x(), 15) << tc.name;
        EXPECT_NEAR(px.y() * 15, tc.twips.y(), 15) << tc.name;
        EXPECT_NEAR(px.width() * 15, tc.twips.width(), 15) << tc.name;
        EXPECT_NEAR(px.height() * 15, tc.twips.height(), 15) << tc.name;
    }
    EXPECT_EQ(window->size(), QSize(460, 161));
}
