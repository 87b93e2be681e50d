#include "discdb/disc_database.h"

#include "discdb/profile_file.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace velmora {

namespace {

const QString kFileName = QStringLiteral("Velmora.ini");

}  // namespace

DiscDatabase::DiscDatabase(QString filePath) : path_(std::move(filePath)) {}

QString DiscDatabase::defaultSectionText(int tracks, const DiscText& text) {
    // One line each: a line break inside a text would end the entry.
    const auto line = [](const QString& value, const QString& fallback) {
        QString flat = value;
        flat.replace(u'\r', u' ').replace(u'\n', u' ');
        return flat.trimmed().isEmpty() ? fallback : flat.trimmed();
    };
    QStringList entries{QStringLiteral("Title=") + line(text.title, QStringLiteral("Unknown Title")),
                        QStringLiteral("Artist=") + line(text.performer, QStringLiteral("Unknown Artist")),
                        QStringLiteral("Revision=1"), QStringLiteral("NumberOfTracks=%1").arg(tracks)};
    for (int i = 1; i <= tracks; ++i) {
        const auto index = static_cast<std::size_t>(i - 1);
        entries.append(QStringLiteral("Track%1=").arg(i) +
                       (index < text.trackTitles.size() ? line(text.trackTitles[index], {}) : QString()));
    }
    return profile::sectionText(entries);
}

void loadDiscEntries(const QStringList& entries, DiscRecord& disc) {
    disc.Title.clear();
    disc.Artist.clear();
    disc.Revision = 0;
    for (int n = 1; n <= kMaxTracks; ++n) disc.track(n).clear();

    for (const QString& entry : entries) {
        const qsizetype eq = entry.indexOf(u'=');
        if (eq < 0) continue;
        const QStringView key = QStringView(entry).left(eq);
        const QString value = entry.mid(eq + 1);
        if (key == u"Title") {
            disc.Title = value;
        } else if (key == u"Artist") {
            disc.Artist = value;
        } else if (key == u"Revision") {
            const auto number = strictWholeNumber(value);
            if (number && *number >= std::numeric_limits<std::int32_t>::min() &&
                *number <= std::numeric_limits<std::int32_t>::max())
                disc.Revision = static_cast<std::int32_t>(*number);
        } else if (key.startsWith(u"Track") && key.size() > 5 && key.size() <= 7 && key[5] != u'0') {
            // "Track1".."Track99" exactly: no leading zeros, no sign, no blanks.
            bool digits = true;
            int n = 0;
            for (qsizetype i = 5; i < key.size(); ++i) {
                if (key[i] < u'0' || key[i] > u'9') digits = false;
                else n = n * 10 + (key[i].unicode() - u'0');
            }
            if (digits && n >= 1 && n <= kMaxTracks) disc.track(n) = value;
        }
    }
}

namespace {
QString readError(const QString& path, const profile::SectionRead& read) {
    if (read.status != profile::ReadStatus::ReadFailed) return {};
    if (read.error.isEmpty()) return QStringLiteral("The disc database %1 cannot be read").arg(path);
    return QStringLiteral("The disc database cannot be read: %1").arg(read.error);
}

DiscRecord recordOf(const QStringList& entries, const QString& discID) {
    DiscRecord disc;
    loadDiscEntries(entries, disc);
    disc.ID = discID;
    return disc;
}
}  // namespace

DiscLoad DiscDatabase::find(const QString& discID) const {
    const profile::SectionRead read = profile::readSection(path_, discID);
    DiscLoad load;
    load.error = readError(path_, read);
    if (!read.entries.isEmpty()) load.record = recordOf(read.entries, discID);
    return load;
}

QStringList DiscDatabase::entries(const QString& discID, QString* error) const {
    const profile::SectionRead read = profile::readSection(path_, discID);
    if (error) *error = readError(path_, read);
    return read.entries;
}

QString DiscDatabase::store(const QString& discID, const QStringList& entries) {
    QString why;
    if (profile::writeSection(path_, discID, entries, &why)) return {};
    return QStringLiteral("The disc database %1 cannot be written: %2").arg(path_, why);
}

DiscLoad DiscDatabase::addDefault(const QString& discID, int tracks, const DiscText& text) {
    const QStringList defaults = profile::entriesOf(defaultSectionText(std::clamp(tracks, 0, kMaxTracks), text));
    DiscLoad load;
    QString why;
    QStringList entries;
    if (profile::writeSection(path_, discID, defaults, &why)) {
        const profile::SectionRead read = profile::readSection(path_, discID);
        entries = read.entries;
        load.error = readError(path_, read);
    } else {
        load.error = QStringLiteral("The disc database %1 cannot be written: %2").arg(path_, why);
    }
    // Not stored: the disc shows the defaults all the same.
    load.record = recordOf(entries.isEmpty() ? defaults : entries, discID);
    return load;
}

QString discDatabasePath(const QString& dataFolder, const QString& programFolder) {
    QDir().mkpath(dataFolder);
    QString own = dataFolder + u'/' + kFileName;
    const QString beside = programFolder + u'/' + kFileName;
    if (QDir(programFolder) != QDir(dataFolder) && !QFileInfo::exists(own) && QFileInfo(beside).isFile() &&
        QFile::copy(beside, own)) {
        // A copy of a read-only original would be read-only too; it is the user's now.
        QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return own;
}

}  // namespace velmora
