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
    ASSERT_GE(recording.sent.size(), 3u);
    EXPECT_EQ(recording.sent[0], "open cdaudio alias cd wait shareable");
    EXPECT_EQ(recording.sent[1], "set cd time format tmsf wait");
    EXPECT_EQ(recording.sent[2], "set cd time format msf");  // the disc ID comes first
    EXPECT_TRUE(recording.wasSent("status cd media present"));
    EXPECT_EQ(state().NumTracks, 12);
    EXPECT_FALSE(session().disc().ID.isEmpty());
    EXPECT_EQ(state().SeekStep, 5);
    EXPECT_TRUE(session().tmrUpdate()->isActive());
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
    EXPECT_EQ(boxes.shown[0].text, QString::fromStdString(MciInterpreter::errorText(266)));
    EXPECT_FALSE(recording.wasSent("set cd time format tmsf wait"));
}

TEST_F(StartupTest, StoredPositionKeepsHalfTheWindowOnScreen) {
    const QRect pixels = QGuiApplication::primaryScreen()->geometry();
    const QSize screen(pixels.width() * 15, pixels.height() * 15);
    const int halfHeight = 161 * 15 / 2, halfWidth = 460 * 15 / 2;
    struct Case {
        int top, left;
        bool kept;  // else 0, 0
    } cases[] = {
        {-halfHeight, -halfWidth, true},
        {-halfHeight - 15, -halfWidth - 15, false},
        // Exactly at the edge is still on screen: the test is strictly greater.
        {screen.height() - halfHeight, screen.width() - halfWidth, true},
        {screen.height() - halfHeight + 15, screen.width() - halfWidth + 15, false},
    };
    for (const auto& tc : cases) {
        store("Top", QString::number(tc.top));
        store("Left", QString::number(tc.left));
        start();
        ASSERT_TRUE(loaded);
        // The window sits on whole pixels: within half a pixel of the stored twips.
        EXPECT_NEAR(window->Top(), tc.kept ? tc.top : 0, 8) << tc.top;
        EXPECT_NEAR(window->Left(), tc.kept ? tc.left : 0, 8) << tc.left;
    }
}

TEST_F(StartupTest, CommandLinePlayStartsPlayback) {
    struct Case {
        QString line;
        bool plays;
    } cases[] = {{"pLaY", true}, {"", false}, {" play", false}, {"play x", false}};
    for (const auto& tc : cases) {
        commandLine = tc.line;
        start();
        EXPECT_EQ(state().Playing, tc.plays) << tc.line.toStdString();
    }
}
