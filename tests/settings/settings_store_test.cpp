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

#include <map>
#include <memory>
#include <vector>

using namespace velmora;

namespace {

const QString kShowTips = QStringLiteral("Show Tips at Startup");
const QString kGnudb = QStringLiteral("gnudb.gnudb.org/~cddb/cddb.cgi");

// Each failure as the text of the box the program shows for it.
SettingsErrorSink recordInto(std::vector<QString>& errors) {
    return [&errors](const QString& routine, const RegistryError& error) {
        errors.push_back(criticalErrorText(routine, error));
    };
}

// One in-memory store ("hive|key|name") for every component made; fails calls or creation on demand.
class SettingsTest : public ::testing::Test {
protected:
    struct MemoryRegistry final : RegistryAccess {
        explicit MemoryRegistry(SettingsTest& test) : t(test) {}
        bool ReadValue(std::uint32_t hive, const QString& key, const QString& name, QString& value) override {
            if (t.failCalls) throw RegistryError{-2147024891, "RegistryAccess", "read failed"};
            const auto it = t.values.find(slot(hive, key, name));
            if (it == t.values.end()) return false;
            value = it->second;
            return true;
        }
        bool WriteValue(std::uint32_t hive, const QString& key, const QString& name, const QString& value) override {
            if (t.failCalls) throw RegistryError{-2147024891, "RegistryAccess", "write failed"};
            t.values[slot(hive, key, name)] = value;
            t.writes.push_back(name);
            return true;
        }
        SettingsTest& t;
    };
    static QString slot(std::uint32_t hive, const QString& key, const QString& name) {
        return QString::number(hive) + u'|' + key + u'|' + name;
    }

    std::map<QString, QString> values;
    std::vector<QString> writes;  // value names, in order
    bool failCalls = false;
    bool failCreation = false;
    std::vector<QString> errors;
    SettingsStore settings{[this]() -> std::unique_ptr<RegistryAccess> {
                               if (failCreation) throw RegistryError{429, "Velmora", "cannot create component"};
                               return std::make_unique<MemoryRegistry>(*this);
                           },
                           recordInto(errors)};
    std::vector<QString> skins;
    ActiveSettings loader{settings, QStringLiteral("/opt/velmora"), [] { return QStringLiteral("alice"); }};

    SettingsTest() {
        QObject::connect(&loader, &ActiveSettings::skinChosen, [this](const QString& path) { skins.push_back(path); });
    }

    QString stored(const QString& name) {
        const auto it = values.find(slot(HKEY_CURRENT_USER, kSettingsKey, name));
        return it == values.end() ? QStringLiteral("<missing>") : it->second;
    }
    void put(const QString& name, const QString& value) { values[slot(HKEY_CURRENT_USER, kSettingsKey, name)] = value; }
    // What start-up reads after LoadSettings.
    void readWindowSettings() {
        for (const QString& name : {QStringLiteral("Top"), QStringLiteral("Left")})
            settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey, name, QStringLiteral("0"));
        settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey, kShowTips, QStringLiteral("1"));
    }
};

}  // namespace

TEST_F(SettingsTest, FirstStartCreatesTheSixValuesInOrder) {
    loader.LoadSettings(true);
    readWindowSettings();
    const std::pair<QString, QString> created[] = {{"UserName", "alice"}, {"CDDBServer", kGnudb},
                                                   {"Skin", "cloud_skin.jpg"}, {"Top", "0"},
                                                   {"Left", "0"}, {kShowTips, "1"}};
    ASSERT_EQ(writes.size(), std::size(created));
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i], created[i].first);
        EXPECT_EQ(stored(created[i].first), created[i].second);
    }
    EXPECT_EQ(loader.ActiveUserName(), QStringLiteral("alice"));
    EXPECT_EQ(loader.ActiveCDDBServer(), kGnudb);
    EXPECT_EQ(skins, std::vector<QString>{"/opt/velmora/Skins/cloud_skin.jpg"});
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsTest, StoredValuesWinAndAnEmptyOneIsNotReplaced) {
    put("UserName", QString());
    put("CDDBServer", QStringLiteral("freedb.dbpoweramp.com/~cddb/cddb.cgi"));
    put("Skin", QStringLiteral("  my skin.jpg  "));
    loader.LoadSettings(true);
    EXPECT_EQ(loader.ActiveUserName(), QString());
    EXPECT_EQ(loader.ActiveCDDBServer(), QStringLiteral("freedb.dbpoweramp.com/~cddb/cddb.cgi"));
    // The file named without the blanks; the stored value keeps them.
    EXPECT_EQ(skins, std::vector<QString>{"/opt/velmora/Skins/my skin.jpg"});
    EXPECT_EQ(stored("Skin"), QStringLiteral("  my skin.jpg  "));
    EXPECT_TRUE(writes.empty());
}

TEST_F(SettingsTest, TimerReloadLeavesTheSkinAlone) {
    put("CDDBServer", QStringLiteral("cddb.retrobridge.org/~cddb/cddb.cgi"));
    QTimer* timer = loader.tmrCheckSettings();
    EXPECT_EQ(timer->interval(), 60000);
    timer->start(0);
    QElapsedTimer waited;
    waited.start();
    while (loader.ActiveCDDBServer().isEmpty() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(loader.ActiveCDDBServer(), QStringLiteral("cddb.retrobridge.org/~cddb/cddb.cgi"));
    EXPECT_TRUE(skins.empty());
    EXPECT_EQ(stored("Skin"), QStringLiteral("<missing>"));
}

TEST_F(SettingsTest, FailingStoreOrComponentShowsOneBoxPerCallAndGoesOn) {
    failCalls = true;
    loader.LoadSettings(true);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(loader.ActiveUserName(), QString());
    EXPECT_EQ(loader.ActiveCDDBServer(), QString());
    EXPECT_EQ(skins, std::vector<QString>{"/opt/velmora/Skins/"});
    readWindowSettings();
    ASSERT_EQ(errors.size(), 6u);
    EXPECT_EQ(errors.front(),
              QStringLiteral("  Program Name : Velmora\r\n\r\n"
                             "   Routine Name : Public Function GetRegKey\r\n\r\n"
                             "     Error Number : -2147024891\r\n"
                             "      Error Source : RegistryAccess\r\n"
                             "Error Description : read failed\r\n\r\n"));
    settings.SetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Top"), QStringLiteral("15"));
    ASSERT_EQ(errors.size(), 7u);
    EXPECT_TRUE(errors.back().contains(QStringLiteral("\r\n   Routine Name : Public Sub SetRegKey\r\n\r\n")));
    EXPECT_TRUE(errors.back().contains(QStringLiteral("Error Description : write failed")));

    // A component that cannot be made: the same, with its error.
    failCreation = true;
    const SettingRead top = settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Top"), QStringLiteral("0"));
    EXPECT_EQ(top.value, QString());
    ASSERT_TRUE(top.error);
    EXPECT_EQ(top.error->number, 429);
    settings.SetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Top"), QStringLiteral("1"));
    ASSERT_EQ(errors.size(), 9u);
    EXPECT_TRUE(errors[7].contains(QStringLiteral("     Error Number : 429\r\n")));
}

TEST(SettingAsWholeNumber, AnythingButAWholeNumberCountsAsZero) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},   {"1", 1},   {"-800", -800}, {" 15 ", 15},        {"", 0},           {"abc", 0},
        {"12px", 0}, {"1.5", 0}, {"1e3", 0},     {"99999999999", 0}, {"2147483647", 2147483647}, {"+3", 3}};
    for (const auto& [text, value] : cases) EXPECT_EQ(settingAsWholeNumber(QString::fromLatin1(text)), value) << text;
}

TEST(SystemLogonName, FitsThePlatformsBuffer) {
    const QString name = systemLogonName();
    EXPECT_FALSE(name.isEmpty());
    EXPECT_LE(name.size(), 198);
}

namespace {

class QSettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::vector<QString> errors;
    QString ini() const { return dir.filePath(QStringLiteral("settings.ini")); }
    SettingsStore settingsOn(const QString& path) {
        return SettingsStore(qsettingsRegistryFactory(path), recordInto(errors));
    }
    void writeIni(const QByteArray& text) {
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    // Three rounds of a read and a write on the store at `path`: every call is refused
    // with a box of its own that names the file and holds each of `mentions`.
    void expectEveryCallRefused(const QString& path, QStringList mentions = {}) {
        mentions << path;
        errors.clear();
        SettingsStore settings = settingsOn(path);
        for (int round = 0; round < 3; ++round) {
            const SettingRead read = settings.read(settings::ShowTips);
            EXPECT_TRUE(read.error) << "round " << round;
            EXPECT_EQ(read.value, QString());
            EXPECT_TRUE(settings.write(settings::ShowTips, QStringLiteral("0"))) << "round " << round;
        }
        ASSERT_EQ(errors.size(), 6u);
        for (const QString& error : errors) {
            for (const QString& mention : mentions) EXPECT_TRUE(error.contains(mention)) << error.toStdString();
        }
    }
};

}  // namespace

// A new component (a restart) reads any text as stored, in the registry's layout; a list as text.
TEST_F(QSettingsStoreTest, ValuesSurviveARestartAsTheirTextInTheRegistryLayout) {
    const QString texts[] = {QString(), QStringLiteral("  my skin.jpg  "), QStringLiteral("a,b, c"),
                             QStringLiteral("@Variant(x)"), QStringLiteral("semi;colon \"quoted\" back\\slash"),
                             QStringLiteral("Caf\u00e9 \u263a"), QStringLiteral("12")};
    int i = 0;
    for (const QString& text : texts) {
        const QString name = QStringLiteral("Value %1/with\\separators").arg(i++);
        settingsOn(ini()).SetRegKey(HKEY_CURRENT_USER, kSettingsKey, name, text);
        QString back;
        ASSERT_TRUE(QSettingsRegistry(ini()).ReadValue(HKEY_CURRENT_USER, kSettingsKey, name, back)) << name.toStdString();
        EXPECT_EQ(back, text) << name.toStdString();
    }
    settingsOn(ini()).SetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("UserName"), QStringLiteral("bob"));
    settingsOn(ini()).SetRegKey(HKEY_CLASSES_ROOT, QStringLiteral("AudioCD\\shell\\play\\command"), QString(),
                                QStringLiteral("/usr/bin/velmora play"));
    QSettings raw(ini(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("HKEY_CURRENT_USER/SOFTWARE/Tessaly/Velmora/UserName")).toString(), "bob");
    QSettingsRegistry registry(ini());
    QString value;
    EXPECT_TRUE(registry.ReadValue(HKEY_CLASSES_ROOT, QStringLiteral("AudioCD\\shell\\play\\command"), QString(), value));
    EXPECT_EQ(value, QStringLiteral("/usr/bin/velmora play"));
    value = QStringLiteral("untouched");
    EXPECT_FALSE(registry.ReadValue(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Left"), value));
    EXPECT_FALSE(registry.ReadValue(HKEY_CLASSES_ROOT, kSettingsKey, QStringLiteral("UserName"), value));
    EXPECT_EQ(value, QStringLiteral("untouched"));
    EXPECT_TRUE(errors.empty());

    writeIni("[HKEY_CURRENT_USER]\nSOFTWARE\\Tessaly\\Velmora\\CDDBServer=a,b\n");
    ASSERT_TRUE(QSettingsRegistry(ini()).ReadValue(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("CDDBServer"), value));
    EXPECT_EQ(value, QStringLiteral("a,b"));
}

TEST_F(QSettingsStoreTest, StoreThatCannotBeReadOrWrittenShowsOneBoxPerCall) {
    // The settings file's place taken by a folder: nothing can be read.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("settings.ini")));
    // Under a regular file: reads find nothing, writes fail.
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("plain"))).open(QIODevice::WriteOnly));
    for (const QString& path : {ini(), dir.filePath(QStringLiteral("plain/settings.ini"))}) {
        SCOPED_TRACE(path.toStdString());
        expectEveryCallRefused(path);
    }
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
    EXPECT_EQ(defaultSettingsStorePath(), home.path() + QStringLiteral("/settings.ini"));
    EXPECT_EQ(QSettingsRegistry().iniPath(), home.path() + QStringLiteral("/settings.ini"));
    qputenv("VELMORA_HOME", QFile::encodeName(home.filePath(QStringLiteral("missing"))));
    EXPECT_EQ(defaultSettingsStorePath(), config.path() + QStringLiteral("/velmora/settings.ini"));
    qunsetenv("VELMORA_HOME");
    EXPECT_EQ(defaultSettingsStorePath(), config.path() + QStringLiteral("/velmora/settings.ini"));
}

TEST_F(QSettingsStoreTest, JunkFileIsLeftAsItIsAndRefusedOnEveryCall) {
    struct Case {
        const char* name;
        QByteArray file;
        int line;
    };
    const Case cases[] = {
        {"binary junk", QByteArray("\x01\x02garbage[[[\n=\n\xff\xfe"), 1},
        {"unclosed section", "[unclosed\nkey=v\n", 1},  // QSettings itself says so only once
        {"words without a value", "[HKEY_CURRENT_USER]\nx=1\njust words\n", 3},
        {"a NUL", QByteArray("[A]\nk=v\0w\n", 10), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(c.file);
        expectEveryCallRefused(ini(), {QStringLiteral("line %1").arg(c.line), QStringLiteral("left as it is")});
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.file) << "the file was rewritten";
    }
}
