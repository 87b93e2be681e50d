// The disc's own titles (CD-Text, as libcdio hands them over) as the player shows them and
// stores them in a new disc's default section. Input: title, performer and track titles,
// each ended by a NUL, as libcdio's C strings.
#include "fuzz_support.h"

#include "discdb/disc_database.h"
#include "platform/cdio/cd_device.h"

using namespace velmora;

namespace {
bool isBlank(QChar c) { return c.isSpace(); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> fields = fuzz::bytesOf(data, size).split('\0');
    DiscText text;
    for (qsizetype i = 0; i < fields.size() && i < 2 + kMaxTracks; ++i) {
        const QString shown = cdTextValue(fields[i].constData());
        if (shown.contains(QChar::ReplacementCharacter)) fuzz::broken("a replacement character", shown);
        if (!shown.isEmpty() && (isBlank(shown.front()) || isBlank(shown.back()))) fuzz::broken("not trimmed", shown);
        if (shown.size() > fields[i].size()) fuzz::broken("longer than its bytes", shown);
        // Plain UTF-8 that is not Latin-1 converted twice comes through as it is.
        const QString once = QString::fromUtf8(fields[i]).trimmed();
        bool ascii = true;
        for (const char c : fields[i]) ascii = ascii && c >= 0x20 && c < 0x7F;
        if (ascii && shown != once) fuzz::broken("printable ASCII changed", shown);
        if (i == 0) text.title = shown;
        else if (i == 1) text.performer = shown;
        else text.trackTitles.push_back(shown);
    }

    // A new disc's default section, stored and read back, shows the same titles, each on
    // one line.
    const int tracks = static_cast<int>(text.trackTitles.size());
    const QString path = fuzz::scratchFolder() + QStringLiteral("/Velmora.ini");
    fuzz::writeFile(path, {});
    DiscDatabase database(path);
    const DiscLoad stored = database.addDefault(QStringLiteral("1C02F203"), tracks, text);
    if (!stored.error.isEmpty()) fuzz::broken("not stored", stored.error);
    const DiscLoad found = database.find(QStringLiteral("1C02F203"));
    if (!found.record) fuzz::broken("not found");
    const DiscRecord& disc = *found.record;
    const auto flat = [](QString value, const QString& fallback) {
        value.replace(u'\r', u' ').replace(u'\n', u' ');
        value = value.trimmed();
        return value.isEmpty() ? fallback : value;
    };
    if (disc.Title != flat(text.title, QStringLiteral("Unknown Title"))) fuzz::broken("title", disc.Title);
    if (disc.Artist != flat(text.performer, QStringLiteral("Unknown Artist"))) fuzz::broken("artist", disc.Artist);
    for (int n = 1; n <= tracks; ++n)
        if (disc.track(n) != flat(text.trackTitles[static_cast<std::size_t>(n - 1)], {}))
            fuzz::broken("track title", disc.track(n));
    return 0;
}
