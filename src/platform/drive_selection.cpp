#include "platform/drive_selection.h"

#include "platform/cdio/cdio_drive.h"
#include "platform/cdio/demo_image.h"
#include "platform/program_folder.h"
#include "platform/sim/simulated_drive.h"

#include <QFileInfo>

namespace velmora {

namespace {

DriveSelection simulated(const QString& discPath, std::shared_ptr<Clock> clock) {
    DriveSelection selection;
    auto drive = std::make_shared<SimulatedDrive>(std::move(clock));
    if (discPath.isEmpty()) {
        selection.description = QStringLiteral("simulated drive, no disc");
    } else if (drive->setDiscFile(discPath, &selection.error)) {
        selection.description = QStringLiteral("simulated drive with %1").arg(discPath);
    } else {
        // The drive still works, empty, as a real drive with an unreadable disc would.
        selection.description = QStringLiteral("simulated drive, no disc (%1 refused)").arg(discPath);
    }
    selection.drive = std::move(drive);
    return selection;
}

DriveSelection real(const QString& path, std::shared_ptr<Clock> clock) {
    DriveSelection selection;
    selection.drive = openCdioDrive(path, std::move(clock), &selection.error);
    selection.description = selection.drive ? path : QStringLiteral("%1 (cannot be opened)").arg(path);
    return selection;
}

// The bundled demo: a disc image (real sound) through the image backend, or a .disc file
// in a simulated drive. An image not yet there is written now (the first time an installed
// player needs it); one that will not open falls back to the .disc beside it or in the
// program's folder.
DriveSelection demo(const QString& path, std::shared_ptr<Clock> clock) {
    if (path.endsWith(QLatin1String(".disc"), Qt::CaseInsensitive)) return simulated(path, std::move(clock));
    const QFileInfo info(path);
    QString written;
    if (!info.exists()) writeDemoImage(info.path(), &written);
    DriveSelection image = real(path, clock);
    if (image.drive) return image;
    if (!written.isEmpty()) image.error = written;
    QString disc = info.path() + QStringLiteral("/") + info.completeBaseName() + QStringLiteral(".disc");
    if (!QFileInfo::exists(disc)) disc = programFolder() + QStringLiteral("/demo/demo.disc");
    if (!QFileInfo::exists(disc)) return image;
    DriveSelection fallback = simulated(disc, std::move(clock));
    fallback.error = image.error + (fallback.error.isEmpty() ? QString() : QStringLiteral("\n") + fallback.error);
    return fallback;
}

}  // namespace

DriveSelection selectDrive(const QString& choice, const QString& demoDiscPath, std::shared_ptr<Clock> clock) {
    if (!clock) clock = std::make_shared<SteadyClock>();
    if (choice.startsWith(QLatin1String("sim:"))) return simulated(choice.mid(4), std::move(clock));
    if (!choice.isEmpty()) return real(choice, std::move(clock));

    if (const std::optional<QString> device = firstCdDrive()) {
        DriveSelection selection = real(*device, clock);
        if (selection.drive) return selection;
        // A drive we may not use is no reason to have none: fall back to the demo disc
        // and keep the reason for the user.
        DriveSelection fallback = demo(demoDiscPath, std::move(clock));
        fallback.error =
            selection.error + (fallback.error.isEmpty() ? QString() : QStringLiteral("\n") + fallback.error);
        return fallback;
    }
    return demo(demoDiscPath, std::move(clock));
}

DriveSelection selectDriveFromEnvironment(const QString& demoDiscPath, std::shared_ptr<Clock> clock) {
    return selectDrive(qEnvironmentVariable("VELMORA_DRIVE"), demoDiscPath, std::move(clock));
}

}  // namespace velmora
