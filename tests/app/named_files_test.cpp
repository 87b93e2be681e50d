// Every file the program opens by name, with a named pipe or a folder in its place: refused
// in its reader's own words, and never blocking (a blocked open would hold up start-up, and
// with it the single-instance lock).
#include "chrome/skin_picture.h"
#include "dialogs/tips_file.h"
#include "discdb/disc_database.h"
#include "platform/cdio/image_check.h"
#include "platform/desktop/auto_run.h"
#include "platform/message_box.h"
#include "platform/sim/disc_file.h"
#include "settings/qsettings_registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::test {
namespace {

QString written(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

struct Reader {
    const char* name;
    const char* fileName;
    // What the reader says of the file at `path`; empty when it took it.
    std::function<QString(const QString& path)> read;
    const char* says[2];  // of a named pipe, of a folder
};

const Reader kReaders[] = {
    {"disc database",
     "Velmora.ini",
     [](const QString& path) { return DiscDatabase(path).find(QStringLiteral("A1")).error; },
     {"is a named pipe", "is a folder"}},
    {"settings file",
     "settings.ini",
     [](const QString& path) {
         try {
             QString value;
             QSettingsRegistry(path).ReadValue(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("Skin"), value);
             return QString();
         } catch (const RegistryError& error) {
             return error.description;
         }
     },
     {"it is not a regular file", "it is a folder"}},
    {"tips",
     "TIPOFDAY.DAT",
     [](const QString& path) {
         TipOfTheDay tips;
         tips.load(QFileInfo(path).path());
         return tips.tipText();
     },
     {"was not found", "was not found"}},
    {"disc file",
     "d.disc",
     [](const QString& path) { return loadDiscFile(path).error; },
     {"it is not a regular file", "it is a folder"}},
    {"cue sheet",
     "d.cue",
     [](const QString& path) { return checkCueSheet(path); },
     {"is not a regular file", "is not a regular file"}},
    {"data file of a .toc",
     "d.bin",
     [](const QString& path) {
         return checkTocFile(
             written(QFileInfo(path).path() + QStringLiteral("/d.toc"), "CD_DA\nTRACK AUDIO\nFILE \"d.bin\" 0\n"));
     },
     {"cannot be read", "cannot be read"}},
    {"skin",
     "s.jpg",
     [](const QString& path) { return readSkinPicture(path).isNull() ? QStringLiteral("not shown") : QString(); },
     {"not shown", "not shown"}},
    {"mimeapps.list",
     "mimeapps.list",
     [](const QString& path) {
         RecordingMessageBoxes boxes;
         boxes.yesNoAnswer = MsgBox::AnswerYes;
         XdgFolders folders;
         folders.configHome = QFileInfo(path).path();
         folders.dataHome = folders.configHome + QStringLiteral("/data");
         // No default player, so the check asks and, answered Yes, reads the list.
         Check_Auto_Run(QStringLiteral("/usr/bin/velmora"), folders, boxes, {},
                        [](const QString&, const std::function<void(const QString&)>& answer) { answer(QString()); });
         return boxes.shown.empty() ? QString() : boxes.shown.back().text;
     },
     {"it is not a file", "it is not a file"}},
};

TEST(NamedFiles, ANamedPipeOrAFolderInPlaceOfAFileIsRefusedInItsReadersWordsAndNeverBlocks) {
    QTemporaryDir dir;
    int n = 0;
    for (const Reader& reader : kReaders) {
        for (int kind = 0; kind < 2; ++kind) {
            SCOPED_TRACE(std::string(reader.name) + (kind ? " as a folder" : " as a named pipe"));
            const QString folder = dir.filePath(QString::number(n++));
            ASSERT_TRUE(QDir().mkpath(folder));
            const QString path = folder + u'/' + QLatin1String(reader.fileName);
            ASSERT_TRUE(kind ? QDir().mkdir(path) : ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            auto said = std::async(std::launch::async, reader.read, path);
            if (said.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
                ADD_FAILURE() << "the reader blocked";
                // A writer end lets it go.
                const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
                said.wait();
                continue;
            }
            const QString text = said.get();
            EXPECT_TRUE(text.contains(QLatin1String(reader.says[kind]))) << text.toStdString();
        }
    }
}

}  // namespace
}  // namespace velmora::test
