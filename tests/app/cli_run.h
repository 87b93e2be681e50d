#pragma once

#include <QEventLoop>
#include <QMap>
#include <QProcess>
#include <QTimer>

namespace velmora::test {

struct CliRun {
    int exitCode = -1;  // -2: crashed; -1: did not start or did not end
    QString out;
    QString err;
};

// Runs velmora-cli to its end with `env` over the caller's environment (a null value
// removes the variable). Events go on being handled meanwhile: a test's server may run on
// this thread.
inline CliRun runCli(const QStringList& args, const QMap<QString, QString>& env, const QByteArray& input = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VELMORA_MCI_LOG"));
    for (auto it = env.begin(); it != env.end(); ++it) {
        if (it.value().isNull()) environment.remove(it.key());
        else environment.insert(it.key(), it.value());
    }
    process.setProcessEnvironment(environment);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    process.start(QStringLiteral(VELMORA_RUNTIME_DIR "/velmora-cli"), args);
    CliRun run;
    if (!process.waitForStarted(10000)) return run;
    process.write(input);
    process.closeWriteChannel();
    if (process.state() != QProcess::NotRunning) loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace velmora::test
