#pragma once

#include "app/frm_cdplayer.h"
#include "app/velmora_app.h"
#include "chrome/led_digit.h"
#include "mixer/null_mixer_volume.h"
#include "platform/browser.h"
#include "platform/clock.h"
#include "platform/http_fetcher.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/message_box.h"
#include "platform/sim/simulated_drive.h"
#include "player/player_core.h"
#include "settings/qsettings_registry.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

// Passes every command to the real interpreter and keeps a record of them.
class RecordingMci final : public MciService {
public:
    explicit RecordingMci(MciService& inner) : inner_(inner) {}
    int sendString(const std::string& command, char* buffer, int bufferLength) override {
        sent.push_back(command);
        if (onSend) onSend(command);
        return inner_.sendString(command, buffer, bufferLength);
    }
    bool errorString(int code, char* buffer, int bufferLength) const override {
        return inner_.errorString(code, buffer, bufferLength);
    }
    DiscText discText() override { return inner_.discText(); }
    bool wasSent(const std::string& command) const {
        return std::find(sent.begin(), sent.end(), command) != sent.end();
    }
    std::vector<std::string> sent;
    std::function<void(const std::string& command)> onSend;  // what else happens as it is sent

private:
    MciService& inner_;
};

// A disc of `tracks` audio tracks, each `seconds` long, starting at the usual 2 seconds.
inline DiscToc audioDisc(int tracks, int seconds) {
    DiscToc toc;
    int frame = 150;
    for (int n = 1; n <= tracks; ++n) {
        toc.tracks.push_back({n, frame, true});
        frame += seconds * 75;
    }
    toc.leadoutFrame = frame;
    return toc;
}

// The real application on the real interpreter and a simulated drive on a test clock.
class AppFixture : public ::testing::Test {
protected:
    AppFixture()
        : clock(std::make_shared<ManualClock>()),
          drive(std::make_shared<SimulatedDrive>(clock)),
          interpreter([this]() -> std::shared_ptr<CdDrive> { return driveAvailable ? drive : nullptr; }),
          recording(interpreter) {
        clock->setMs(1'000'000);
        drive->insert(audioDisc(12, 250));
        iniPath = dir.filePath("registry.ini");
        // New discs are looked up only where a test turns it on.
        store(QStringLiteral("Lookup Automatically"), QStringLiteral("0"));
    }

    AppServices services() {
        AppServices s;
        s.mci = &recording;
        s.boxes = &boxes;
        s.registry = [ini = iniPath] { return std::make_unique<QSettingsRegistry>(ini); };
        s.mixer = mixer;
        s.programFolder = dir.path();
        s.discDatabasePath = dir.filePath("Velmora.ini");
        s.commandLine = commandLine;
        s.mciLogPath = mciLogPath;
        s.coverFolder = dir.filePath("covers");
        s.isOnlyInstance = [this] { return onlyInstance; };
        s.trayAvailable = trayAvailable;
        s.logonName = [] { return QStringLiteral("tester"); };
        s.http = &http;
        s.browser = &browser;
        s.files = &files;
        s.random = [] { return 0.0; };
        s.endProgram = [this] { ++programEnded; };
        s.mediaBus = mediaBus;
        return s;
    }

    FrmCdplayer& start() {
        if (app) {
            // A fresh start, as after a quit: the device alias is closed again.
            app.reset();
            interpreter.sendString("close all", nullptr, 0);
        }
        app = std::make_unique<VelmoraApp>(services());
        window = &app->mainWindow();
        loaded = app->start();
        if (loaded) {
            window->show();
            for (int i = 0; i < 20 && !window->windowHandle()->isExposed(); ++i) QCoreApplication::processEvents();
        }
        return *window;
    }

    PlayerSession& session() { return app->core().session; }
    const PlayerState& state() { return app->core().session.state(); }
    const MainFaceControls& controls() { return window->controls(); }

    QString setting(const QString& name) {
        QSettingsRegistry registry(iniPath);
        QString value;
        return registry.ReadValue(HKEY_CURRENT_USER, kSettingsKey, name, value) ? value : QStringLiteral("<missing>");
    }
    void store(const QString& name, const QString& value) {
        QSettingsRegistry(iniPath).WriteValue(HKEY_CURRENT_USER, kSettingsKey, name, value);
    }

    void tick() { app->core().refresh.UpdateDisplay(); }
    void advance(int ms) {
        clock->advanceMs(ms);
        tick();
    }
    // The first command `act` sends 10 s later (empty if none), as a button, key or menu item.
    template <class Act>
    std::string firstCommandOf(Act act) {
        advance(10'000);
        recording.sent.clear();
        act();
        return recording.sent.empty() ? std::string() : recording.sent.front();
    }
    // A plain picture of `size` in the Skins folder.
    void writeSkin(const QString& name, QSize size, const QColor& colour) {
        QDir(dir.path()).mkpath(QStringLiteral("Skins"));
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("Skins/") + name), "JPG", 95));
    }
    QString leds() {
        QString s;
        for (auto* led : controls().ledTRK) s += QString::number(led->digit());
        return s;
    }
    void click(const char* name) {
        auto* button = window->findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        button->click();
    }

    QTemporaryDir dir;
    QString iniPath;
    std::shared_ptr<ManualClock> clock;
    std::shared_ptr<SimulatedDrive> drive;
    bool driveAvailable = true;
    MciInterpreter interpreter;
    RecordingMci recording;
    RecordingMessageBoxes boxes;
    QString commandLine;
    QString mciLogPath;
    bool onlyInstance = true;
    bool trayAvailable = true;
    MixerFactory mixer = [] { return std::make_unique<NullMixerVolume>(); };
    ScriptedHttpFetcher http;
    RecordingBrowser browser;
    ScriptedFilePicker files;
    int programEnded = 0;
    std::function<QDBusConnection()> mediaBus;  // none unless a test brings a bus
    std::unique_ptr<VelmoraApp> app;
    FrmCdplayer* window = nullptr;
    bool loaded = false;
};

}  // namespace velmora::test
