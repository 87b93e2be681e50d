// The disc database's section reader and writer. Input: a section name, a line end, then the file.
// Any file reads; a section written into a readable file reads back as written, the others as before.
#include "fuzz_support.h"

#include "discdb/profile_file.h"

using namespace velmora;
using namespace velmora::profile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytesOf(data, size);
    const qsizetype split = input.indexOf('\n');
    const QString name =
        split < 0 ? QStringLiteral("AE0A660C") : QString::fromUtf8(input.left(std::min<qsizetype>(split, 40)));
    const QByteArray file = split < 0 ? input : input.mid(split + 1);

    const QString path = fuzz::scratchFolder() + QStringLiteral("/Velmora.ini");
    const SectionRead before = sectionIn(file, name, path);
    const SectionRead other = sectionIn(file, QStringLiteral("OTHER"), path);
    if (before.status == ReadStatus::ReadFailed && before.error.isEmpty()) fuzz::broken("refusal without a reason");
    if (name.trimmed().isEmpty() || name.contains(u']') || name.contains(u'[') || name.contains(u'\r') ||
        name.contains(u'\n') || name.contains(QChar(u'\0')) ||
        name.trimmed().compare(QStringLiteral("OTHER"), Qt::CaseInsensitive) == 0)
        return 0;

    fuzz::writeFile(path, file);
    const QStringList entries{QStringLiteral("Title=T\u00e9 \u20ac"), QStringLiteral("Track1=\u263a")};
    QString why;
    const bool written = writeSection(path, name, entries, &why);
    if (before.status == ReadStatus::ReadFailed) {
        if (written) fuzz::broken("wrote into a file it could not read");
        return 0;
    }
    if (!written) fuzz::broken("write failed", why);
    const SectionRead after = readSection(path, name);
    if (after.entries != entries) fuzz::broken("the section did not read back as written", name);
    const SectionRead otherAfter = readSection(path, QStringLiteral("OTHER"));
    if (otherAfter.entries != other.entries) fuzz::broken("another section changed");
    return 0;
}
