#include "settings/qsettings_registry.h"
#include "settings/active_settings.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <vector>

using namespace velmora;

namespace {

const QString kGnudb = QStringLiteral("gnudb.gnudb.org/~cddb/cddb.cgi");

// The settings in a temporary INI file, each failure kept as the text of its box.
class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("settings.ini"));
    bool failCreation = false;
    std::vector<QString> errors;
    SettingsStore settings = settingsOn(ini);
    std::vector<QString> skins;
    ActiveSettings loader{settings, QStringLiteral("/opt/velmora"), [] { return QStringLiteral("alice"); }};

    SettingsTest() {
        QObject::connect(&loader, &ActiveSettings::skinChosen, [this](const QString& path) { skins.push_back(path); });
    }
    SettingsStore settingsOn(const QString& path) {
        return SettingsStore(
            [this, path]() -> std::unique_ptr<RegistryAccess> {
                if (failCreation) throw RegistryError{429, "Velmora", "cannot create component"};
                return std::make_unique<QSettingsRegistry>(path);
            },
            [this](const QString& routine, const RegistryError& error) {
                errors.push_back(criticalErrorText(routine, error));
            });
    }
    // As a restart reads it.
    QString stored(const QString& name) const {
        QString value = QStringLiteral("<missing>");
        QSettingsRegistry(ini).ReadValue(HKEY_CURRENT_USER, kSettingsKey, name, value);
        return value;
    }
    void put(const QString& name, const QString& value) {
        ASSERT_FALSE(settings.SetRegKey(HKEY_CURRENT_USER, kSettingsKey, name, value));
    }
    void writeIni(const QByteArray& text) {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
};

}  // namespace

TEST_F(SettingsTest, FirstStartStoresTheDefaults) {
    loader.LoadSettings(true);
    EXPECT_EQ(stored("UserName"), QStringLiteral("alice"));
    EXPECT_EQ(stored("CDDBServer"), kGnudb);
    EXPECT_EQ(stored("Skin"), QStringLiteral("cloud_skin.jpg"));
    EXPECT_EQ(loader.ActiveUserName(), QStringLiteral("alice"));
    EXPECT_EQ(loader.ActiveCDDBServer(), kGnudb);
    EXPECT_EQ(skins, std::vector<QString>{"/opt/velmora/Skins/cloud_skin.jpg"});
    EXPECT_TRUE(errors.empty());
}

// Stored values win, an empty one is not replaced, and the timer's reload leaves the skin alone.
TEST_F(SettingsTest, StoredValuesWinAndTheTimerReloadsAllButTheSkin) {
    put("UserName", QString());
    put("CDDBServer", QStringLiteral("freedb.dbpoweramp.com/~cddb/cddb.cgi"));
    put("Skin", QStringLiteral("  my skin.jpg  "));
    loader.LoadSettings(true);
    EXPECT_EQ(loader.ActiveUserName(), QString());
    EXPECT_EQ(loader.ActiveCDDBServer(), QStringLiteral("freedb.dbpoweramp.com/~cddb/cddb.cgi"));
    // The file is named without the blanks; the stored value keeps them.
    EXPECT_EQ(skins, std::vector<QString>{"/opt/velmora/Skins/my skin.jpg"});
    EXPECT_EQ(stored("Skin"), QStringLiteral("  my skin.jpg  "));

    const QString changed = QStringLiteral("cddb.retrobridge.org/~cddb/cddb.cgi");
    put("CDDBServer", changed);
    loader.tmrCheckSettings()->start(0);
    QElapsedTimer waited;
    waited.start();
    while (loader.ActiveCDDBServer() != changed && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(loader.ActiveCDDBServer(), changed);
    EXPECT_EQ(skins.size(), 1u);
}

// The settings file's place taken by a folder, then a component that cannot be made.
TEST_F(SettingsTest, FailingStoreOrComponentShowsOneBoxPerCallAndGoesOn) {
    ASSERT_TRUE(QDir().mkdir(ini));
    loader.LoadSettings(true);
    ASSERT_EQ(errors.size(), 6u);  // user name, CDDB server, MusicBrainz, cover art, lookup switch, skin
    EXPECT_EQ(loader.ActiveUserName(), QString());
    EXPECT_EQ(loader.ActiveCDDBServer(), QString());
    EXPECT_EQ(skins, std::vector<QString>{"/opt/velmora/Skins/"});
    EXPECT_EQ(errors.front(), QStringLiteral("  Program Name : Velmora\r\n\r\n"
                                             "   Routine Name : Public Function GetRegKey\r\n\r\n"
                                             "     Error Number : -2147024883\r\n"
                                             "      Error Source : RegistryAccess\r\n"
                                             "Error Description : Cannot read the settings store ") +
                                  ini +
                                  QStringLiteral(": it is a folder, not a file; the file was left as it is\r\n\r\n"));
    settings.SetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Top"), QStringLiteral("15"));
    ASSERT_EQ(errors.size(), 7u);
    EXPECT_TRUE(errors.back().contains(QStringLiteral("\r\n   Routine Name : Public Sub SetRegKey\r\n\r\n")));

    failCreation = true;
    settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Top"), QStringLiteral("0"));
    ASSERT_EQ(errors.size(), 8u);
    EXPECT_TRUE(errors.back().contains(QStringLiteral("     Error Number : 429\r\n")));
}

// QSettings takes some junk silently, reports other junk once, and rewrites the file on the
// next write: every call is refused instead, each with a box naming the file.
TEST_F(SettingsTest, UnusableFileIsRefusedOnEveryCallAndLeftAsItIs) {
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("plain"))).open(QIODevice::WriteOnly));
    struct Case {
        const char* name;
        QByteArray file;  // null: none, the store below the regular file "plain"
        QStringList mentions;
    };
    const Case cases[] = {
        {"below a regular file", {}, {"Cannot write"}},
        {"binary junk", QByteArray("\x01\x02garbage[[[\n=\n\xff\xfe"), {"not UTF-8", "left as it is"}},
        {"unclosed section", "[HKEY_CURRENT_USER]\n[unclosed\nkey=v\n", {"line 2", "left as it is"}},
        {"a NUL", QByteArray("[A]\nk=v\0w\n", 10), {"line 2", "left as it is"}},
        {"a section cut by a comment", "[A;b]\nk=v\n", {"line 1"}},
        {"lines ended by CR alone", "[A]\rk=v\rjunk\r", {"line 1"}},
        {"a quote left open", "[A]\nk=\"v\nj=w\"\n", {"line 2"}},
        {"a section with an empty part", "[A]\nk=v\n[\\General]\nx=M\n", {"line 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = c.file.isNull() ? dir.filePath(QStringLiteral("plain/settings.ini")) : ini;
        if (!c.file.isNull()) writeIni(c.file);
        errors.clear();
        SettingsStore store = settingsOn(path);
        for (int round = 0; round < 2; ++round) {
            EXPECT_TRUE(store.read(settings::ShowTips).error) << "round " << round;
            EXPECT_TRUE(store.write(settings::ShowTips, QStringLiteral("0"))) << "round " << round;
        }
        ASSERT_EQ(errors.size(), 4u);
        for (const QString& error : errors)
            for (const QString& mention : c.mentions + QStringList{path})
                EXPECT_TRUE(error.contains(mention)) << error.toStdString();
        if (c.file.isNull()) continue;
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.file) << "the file was rewritten";
    }
}

// Any text reads back as stored, in the registry's layout; a hand-written list as text.
TEST_F(SettingsTest, ValuesSurviveARestartAsTheirTextInTheRegistryLayout) {
    const QString texts[] = {QString(), QStringLiteral("a,b, c"), QStringLiteral("@Variant(x)"),
                             QStringLiteral("Caf\u00e9 \u263a; \"quoted\" back\\slash")};
    int i = 0;
    for (const QString& text : texts) {
        const QString name = QStringLiteral("Value %1/with\\separators").arg(i++);
        put(name, text);
        EXPECT_EQ(stored(name), text) << name.toStdString();
    }
    put("UserName", QStringLiteral("bob"));
    QSettings raw(ini, QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("HKEY_CURRENT_USER/SOFTWARE/Tessaly/Velmora/UserName")).toString(), "bob");
    EXPECT_EQ(stored("Left"), QStringLiteral("<missing>"));

    writeIni(
        "[HKEY_CURRENT_USER]\nSOFTWARE\\Tessaly\\Velmora\\CDDBServer=a,b\n"
        "SOFTWARE\\Tessaly\\Velmora\\UserName=jo,@example.org\n");
    EXPECT_EQ(stored("CDDBServer"), QStringLiteral("a,b"));
    EXPECT_EQ(stored("UserName"), QStringLiteral("jo,@example.org"));
}

TEST(SettingAsWholeNumber, AnythingButAWholeNumberInRangeCountsAsZero) {
    const std::pair<const char*, int> cases[] = {
        {"12px", 0}, {"2147483647", 2147483647}, {"2147483648", 0}, {"-2147483649", 0}};
    for (const auto& [text, value] : cases) EXPECT_EQ(settingAsWholeNumber(QString::fromLatin1(text)), value) << text;
}

TEST(SettingsStorePath, InVelmoraHomeWhenSetElseTheUsersConfigFolder) {
    QTemporaryDir home, config;
    const QByteArray savedHome = qgetenv("VELMORA_HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        savedHome.isNull() ? qunsetenv("VELMORA_HOME") : qputenv("VELMORA_HOME", savedHome);
        savedConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", savedConfig);
    });
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("VELMORA_HOME", QFile::encodeName(home.path()));
    EXPECT_EQ(QSettingsRegistry().iniPath(), home.path() + QStringLiteral("/settings.ini"));
    qputenv("VELMORA_HOME", QFile::encodeName(home.filePath(QStringLiteral("missing"))));
    EXPECT_EQ(defaultSettingsStorePath(), config.path() + QStringLiteral("/velmora/settings.ini"));
    qunsetenv("VELMORA_HOME");
    EXPECT_EQ(defaultSettingsStorePath(), config.path() + QStringLiteral("/velmora/settings.ini"));
}
