// velmora-cli lookup: asks a CDDB server for the disc in the drive, the way the lookup
// window does, and prints what a merge would put into the track list editor.
#include "app/cli/cli_common.h"
#include "cddb/cddb_merge.h"
#include "cddb/cddb_query.h"
#include "cddb/toc_disc_id.h"
#include "platform/on_demand_http_fetcher.h"
#include "platform/program_folder.h"
#include "player/disc_identity.h"
#include "settings/active_settings.h"
#include "settings/qsettings_registry.h"
#include "settings/settings_store.h"

#include <QCoreApplication>

#include <cstdio>

namespace velmora::cli {

namespace {

// Prints the outcome; the exit code.
int report(const CddbOutcome& outcome) {
    switch (outcome.kind) {
    case CddbOutcome::Kind::Found: {
        const DiscTitles merged = mergedTitles(outcome.record);
        printLine(QStringLiteral("Artist"), merged.artist);
        printLine(QStringLiteral("Title"), merged.title);
        for (const auto& [number, title] : merged.tracks) printLine(QStringLiteral("Track%1").arg(number), title);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
    }
    case CddbOutcome::Kind::NotFound:
        std::printf("%s\n", kCddbRecordNotFound);
        return kExitNotFound;
    case CddbOutcome::Kind::Failed:
        std::fprintf(stderr, "%s: %s\n", kCddbErrorTitle, outcome.failureText.toLocal8Bit().constData());
        return kExitServerError;
    }
    return kExitServerError;
}

// The lookup under way, for as long as the program's event loop runs; the application
// owns it.
class PendingLookup final : public QObject {
public:
    explicit PendingLookup(const CddbLookup& lookup)
        : QObject(QCoreApplication::instance()), fetcher_(OnDemandHttpFetcher::installedModulePaths()) {
        connect(&query_, &CddbQuery::finished, this,
                [](const CddbOutcome& outcome) { QCoreApplication::exit(report(outcome)); });
        query_.start(lookup);
    }

private:
    OnDemandHttpFetcher fetcher_;
    CddbQuery query_{fetcher_};
};

}  // namespace

int runLookup(const QStringList& args) {
    QString server;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--server") && i + 1 < args.size()) {
            server = args[++i];
        } else if (args[i].startsWith(QLatin1String("--server="))) {
            server = args[i].mid(9);
        } else {
            printError(QStringLiteral("lookup takes only --server HOST/PATH, not \"%1\"").arg(args[i]));
            return kExitUsage;
        }
    }

    SettingsStore store(qsettingsRegistryFactory(), [](const QString& routine, const RegistryError& error) {
        reportFileProblem(criticalErrorText(routine, error));
    });
    ActiveSettings settings(store, programFolder());
    settings.LoadSettings(false);
    if (fileProblemReported()) return kExitFileProblem;
    if (server.isEmpty()) server = settings.ActiveCDDBServer();

    PlayerDevice device;
    if (fileProblemReported()) return kExitFileProblem;
    if (!device.opened()) return kExitFailure;
    QString discId;
    discId = cddbDiscIdFromToc(readDiscTocReplies(device.channel()));
    if (discId.isEmpty()) {
        printError(QStringLiteral("no audio disc in the drive"));
        return kExitFailure;
    }

    new PendingLookup({server, settings.ActiveUserName(), discId});
    return kExitWhenDone;
}

}  // namespace velmora::cli
