// velmora-cli lookup: asks MusicBrainz and the CDDB server for the disc in the drive, the
// CDDB server the way the lookup window does, and prints what a merge would put into the
// track list editor.
#include "app/cli/cli_common.h"
#include "cddb/cover_art.h"
#include "cddb/disc_lookup.h"
#include "cddb/musicbrainz_fetcher.h"
#include "cddb/toc_disc_id.h"
#include "platform/on_demand_http_fetcher.h"
#include "platform/program_folder.h"
#include "player/disc_identity.h"
#include "settings/active_settings.h"
#include "settings/qsettings_registry.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>
#include <map>

namespace velmora::cli {

namespace {

// Prints the titles found; the exit code.
int report(const DiscLookupOutcome& outcome) {
    switch (outcome.kind) {
    case DiscLookupOutcome::Kind::Found: {
        const bool musicBrainz = outcome.source == DiscLookupOutcome::Source::MusicBrainz;
        printLine(QStringLiteral("Artist"), outcome.titles.artist);
        printLine(QStringLiteral("Title"), outcome.titles.title);
        for (const auto& [number, title] : outcome.titles.tracks)
            printLine(QStringLiteral("Track%1").arg(number), title);
        printLine(QStringLiteral("Source"), musicBrainz ? QStringLiteral("musicbrainz") : QStringLiteral("cddb"));
        if (musicBrainz) printLine(QStringLiteral("Release"), outcome.releaseId);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
    }
    case DiscLookupOutcome::Kind::NotFound:
        std::printf("Record Not Found\n");
        return kExitNotFound;
    case DiscLookupOutcome::Kind::Failed:
        for (const QString& failure : outcome.failures)
            std::fprintf(stderr, "%s\n", terminalText(failure).toLocal8Bit().constData());
        return kExitServerError;
    }
    return kExitServerError;
}

// The lookup under way, and the cover fetch after it, for as long as the program's event
// loop runs; the application owns it.
class PendingLookup final : public QObject {
public:
    PendingLookup(const DiscLookupRequest& request, QString coverServer, QString coverFile)
        : QObject(QCoreApplication::instance()),
          network_(OnDemandHttpFetcher::installedModulePaths()),
          coverServer_(std::move(coverServer)),
          coverFile_(std::move(coverFile)) {
        connect(&lookup_, &DiscLookup::finished, this, [this](const DiscLookupOutcome& outcome) {
            const int code = report(outcome);
            if (code != kExitOk || coverFile_.isEmpty() || outcome.releaseId.isEmpty()) {
                if (code == kExitOk && !coverFile_.isEmpty())
                    printError(QStringLiteral("no cover: not a MusicBrainz release"));
                QCoreApplication::exit(code);
                return;
            }
            releaseId_ = outcome.releaseId;
            cover_.start(coverServer_, releaseId_);
        });
        connect(&cover_, &CoverArtFetch::finished, this, [this](const QByteArray& picture) {
            QSaveFile file(coverFile_);
            if (picture.isEmpty()) {
                printError(QStringLiteral("release %1 has no front cover").arg(releaseId_));
            } else if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size() || !file.commit()) {
                printError(QStringLiteral("cannot write the cover to %1: %2").arg(coverFile_, file.errorString()));
                QCoreApplication::exit(kExitFailure);
                return;
            }
            QCoreApplication::exit(kExitOk);
        });
        lookup_.start(request);
    }

private:
    OnDemandHttpFetcher network_;
    MusicBrainzFetcher musicBrainz_{network_};
    DiscLookup lookup_{musicBrainz_, network_};
    CoverArtFetch cover_{network_};
    QString coverServer_;
    QString coverFile_;
    QString releaseId_;
};

}  // namespace

int runLookup(const QStringList& args) {
    // Each option takes a value, as "--name VALUE" or "--name=VALUE".
    std::map<QString, QString> options;
    const QStringList names{"--source", "--server", "--musicbrainz", "--coverart", "--cover"};
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString name = args[i].section(u'=', 0, 0);
        if (!names.contains(name) || (!args[i].contains(u'=') && i + 1 >= args.size())) {
            printError(QStringLiteral("lookup takes --source cddb|musicbrainz|auto, --server HOST/PATH, "
                                      "--musicbrainz URL, --coverart URL and --cover FILE, not \"%1\"")
                           .arg(args[i]));
            return kExitUsage;
        }
        options[name] = args[i].contains(u'=') ? args[i].section(u'=', 1) : args[++i];
    }
    const QString source = options.count("--source") ? options["--source"] : QStringLiteral("auto");
    if (source != QLatin1String("auto") && source != QLatin1String("cddb") && source != QLatin1String("musicbrainz")) {
        printError(QStringLiteral("--source is cddb, musicbrainz or auto, not \"%1\"").arg(source));
        return kExitUsage;
    }

    SettingsStore store(qsettingsRegistryFactory(), [](const QString& routine, const RegistryError& error) {
        reportFileProblem(criticalErrorText(routine, error));
    });
    ActiveSettings settings(store, programFolder());
    settings.LoadSettings(false);
    if (fileProblemReported()) return kExitFileProblem;
    const auto option = [&options](const char* name, const QString& setting) {
        const auto found = options.find(QLatin1String(name));
        return found == options.end() || found->second.isEmpty() ? setting : found->second;
    };

    PlayerDevice device;
    if (fileProblemReported()) return kExitFileProblem;
    if (!device.opened()) return kExitFailure;
    const DiscTocReplies toc = readDiscTocReplies(device.channel());
    const QString cddbId = cddbDiscIdFromToc(toc);
    if (cddbId.isEmpty()) {
        printError(QStringLiteral("no audio disc in the drive"));
        return kExitFailure;
    }

    DiscLookupRequest request;
    request.musicBrainz = {option("--musicbrainz", settings.ActiveMusicBrainzServer()),
                           musicBrainzDiscFromToc(toc, lastTrackIsData(device.channel(), toc))};
    request.cddb = {option("--server", settings.ActiveCDDBServer()), settings.ActiveUserName(), cddbId};
    request.askMusicBrainz = source != QLatin1String("cddb");
    request.askCddb = source != QLatin1String("musicbrainz");
    new PendingLookup(request, option("--coverart", settings.ActiveCoverArtServer()),
                      options.count("--cover") ? options["--cover"] : QString());
    return kExitWhenDone;
}

}  // namespace velmora::cli
