#include "app_fixture.h"

#include <QFile>

using namespace velmora;
using namespace velmora::test;

namespace {
const QString kExpected = QStringLiteral(VELMORA_SOURCE_DIR "/tests/app/data/scripted_session.mcilog");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

using CommandLogTest = AppFixture;

// The drive hears exactly the commands of a known session, in order: a change in how the
// player is put together must not change what it sends. VELMORA_WRITE_EXPECTED=1 writes the
// expected log anew from this run.
TEST_F(CommandLogTest, AScriptedSessionSendsTheSameCommandsInTheSameOrder) {
    const QString log = dir.filePath(QStringLiteral("mci.log"));
    mciLogPath = log;
    start();
    advance(1000);
    click("cmdPlay");
    advance(3000);
    click("cmdFF");
    advance(1000);
    click("cmdPause");
    advance(1000);
    click("cmdForwardTrack");
    click("cmdPlay");
    advance(2000);
    click("cmdBackTrack");
    click("cmdRR");
    click("cmdStop");
    advance(3000);
    click("cmdEject");
    advance(1000);
    click("cmdEject");
    advance(1000);
    advance(1000);
    click("cmdExit2");

    const QByteArray actual = readAll(log);
    ASSERT_FALSE(actual.isEmpty());
    if (qEnvironmentVariable("VELMORA_WRITE_EXPECTED") == QLatin1String("1")) {
        QFile out(kExpected);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(actual);
    }
    EXPECT_EQ(actual.toStdString(), readAll(kExpected).toStdString());
}
