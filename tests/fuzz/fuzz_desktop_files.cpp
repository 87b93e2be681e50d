// The desktop's files as the default-player check writes them, read back by GLib's own
// desktop-entry reader: the Exec line of our audio-CD entry unquotes to the program's path
// and "play", and the rewritten mimeapps.list names our entry for audio CDs and keeps
// every other key as it was. Input: the program's path, a line end, then the old list.
#include "fuzz_support.h"

#include "platform/desktop/auto_run.h"
#include "platform/desktop/desktop_entry.h"
#include "platform/desktop/mime_apps.h"

#include <QStringDecoder>

#include <glib.h>

#include <memory>

using namespace velmora;

namespace {

struct KeyFileFree {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileFree>;

KeyFile keyFileOf(const QByteArray& bytes) {
    KeyFile file(g_key_file_new());
    if (!g_key_file_load_from_data(file.get(), bytes.constData(), static_cast<gsize>(bytes.size()),
                                   G_KEY_FILE_KEEP_COMMENTS, nullptr))
        return {};
    return file;
}

QString stringOf(GKeyFile* file, const char* group, const char* key, bool raw = false) {
    gchar* value =
        raw ? g_key_file_get_value(file, group, key, nullptr) : g_key_file_get_string(file, group, key, nullptr);
    QString text = value ? QString::fromUtf8(value) : QStringLiteral("<none>");
    g_free(value);
    // GLib keeps the CRs that end a last line without its LF; once a line follows, they end it.
    while (raw && text.endsWith(u'\r')) text.chop(1);
    return text;
}

// The arguments of an Exec line as GLib's desktop-app launcher takes them: field codes
// expanded ("%%" a percent sign, the others to nothing here), then split like a shell.
QStringList execArguments(const QString& exec) {
    QByteArray expanded;
    const QByteArray line = exec.toUtf8();
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '%' && i + 1 < line.size()) {
            if (line[++i] == '%') expanded += '%';
        } else {
            expanded += line[i];
        }
    }
    gint argc = 0;
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(expanded.constData(), &argc, &argv, nullptr)) return {QStringLiteral("<unparsed>")};
    QStringList arguments;
    for (gint i = 0; i < argc; ++i) arguments << QString::fromUtf8(argv[i]);
    g_strfreev(argv);
    return arguments;
}

void checkExecLine(const QByteArray& pathBytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString path = utf8(pathBytes);
    // A path is UTF-8 without NULs here; GLib reads nothing else.
    if (utf8.hasError() || path.isEmpty() || path.contains(QChar(u'\0'))) return;
    const KeyFile entry = keyFileOf(playEntryFor(path).toUtf8());
    if (!entry) fuzz::broken("GLib cannot read the desktop entry", path);
    const QStringList arguments = execArguments(stringOf(entry.get(), "Desktop Entry", "Exec"));
    if (arguments != QStringList{path, QStringLiteral("play")}) fuzz::broken("Exec unquotes otherwise", path);
}

void checkMimeappsList(const QByteArray& list) {
    if (!isPlainText(list)) return;  // refused: the check leaves such a list alone
    const QByteArray type = kAudioCdContentType.toUtf8();
    const QByteArray out = withDefaultApplication(list, kAudioCdContentType, kPlayEntryName);
    if (keyFileValue(QString::fromUtf8(out), QStringLiteral("Default Applications"), kAudioCdContentType) !=
        kPlayEntryName + u';')
        fuzz::broken("our reader does not find the new default");
    const KeyFile before = keyFileOf(list);
    if (!before) return;  // not a list GLib reads: nothing to compare
    const KeyFile after = keyFileOf(out);
    if (!after) fuzz::broken("GLib reads the list but not the rewritten one");
    if (stringOf(after.get(), "Default Applications", type.constData()) != kPlayEntryName + u';')
        fuzz::broken("GLib does not find the new default");
    gsize groups = 0;
    gchar** names = g_key_file_get_groups(before.get(), &groups);
    for (gsize g = 0; g < groups; ++g) {
        gsize count = 0;
        gchar** keys = g_key_file_get_keys(before.get(), names[g], &count, nullptr);
        for (gsize k = 0; keys && k < count; ++k) {
            if (qstrcmp(names[g], "Default Applications") == 0 && type == keys[k]) continue;
            if (stringOf(before.get(), names[g], keys[k], true) != stringOf(after.get(), names[g], keys[k], true))
                fuzz::broken("another key changed", QString::fromUtf8(keys[k]));
        }
        g_strfreev(keys);
    }
    g_strfreev(names);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytesOf(data, size);
    const qsizetype split = input.indexOf('\n');
    checkExecLine(split < 0 ? input : input.left(split));
    checkMimeappsList(split < 0 ? QByteArray() : input.mid(split + 1));
    return 0;
}
