#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

// Whole-section access to an initialisation file ("[name]" lines, then "key=value" lines).
//
// File format, as read: lines end in LF or CR LF (CR alone in a file without any LF); a
// file in UTF-16 (with or without its byte-order mark) is read and written as UTF-16; a line whose first non-blank
// character is "[" and which holds a "]" starts a section (the name is the text between "[" and the last "]", blanks
// around it ignored, matched without regard to letter case; the first section of a name that holds entries wins); blank
// lines and lines starting with ";" are not entries; every other line of a section is one entry, taken as it stands
// after its leading blanks (entries without "=" included). Each line is decoded on its own: UTF-8 when its bytes are
// valid UTF-8, Windows-1252 otherwise, so databases from a single-byte code page keep their accented titles and a file
// mixing both reads correctly line by line.
//
// As written: each line in Windows-1252 when every character of it has a place there (and
// the bytes do not happen to read as UTF-8), else in UTF-8, so programs that expect the
// 8-bit form keep reading the file; every line ends in CR LF (CR in a CR-only file). A write touches the bytes of its
// own section only; every other byte of the file (other sections, comments, blank lines between sections, a byte-order
// mark, lines in another encoding) stays as it was.
namespace profile {

enum class ReadStatus {
    Found,       // the section exists (it may have no entries)
    NotFound,    // no such section, or no such file
    ReadFailed,  // the file exists but cannot be read
};

struct SectionRead {
    ReadStatus status = ReadStatus::NotFound;
    QStringList entries;  // in file order
    QString error;        // why the file cannot be read, naming it (ReadFailed only)
};

// The entries of the section named `section`, whole (no size limit).
SectionRead readSection(const QString& filePath, const QString& section);
// The same from the bytes of a file; `filePath` only names it in messages.
SectionRead sectionIn(const QByteArray& fileBytes, const QString& section, const QString& filePath);

// Section text: each entry followed by one NUL, then one more NUL.
QString sectionText(const QStringList& entries);
// The entries of a section text: the strings before each NUL, up to the first empty one
// (the terminator) or the end of the text.
QStringList entriesOf(const QString& sectionText);

// Replaces every entry of `section` with `entries`, creating the section (appended at the
// end) and the file when needed. Line breaks inside an entry are stored as blanks, so an
// entry can never forge a line of its own. The file is replaced atomically (temporary
// file beside it, written, flushed to disk, renamed over the old one): on any failure the
// old file is left exactly as it was and false is returned, with the reason in `error`.
bool writeSection(const QString& filePath, const QString& section, const QStringList& entries,
                  QString* error = nullptr);

// One line as written: Windows-1252 when that reads back as the same text, else UTF-8.
QByteArray encodeLine(const QString& text);
// The text in Windows-1252; nullopt when a character has no place there.
std::optional<QByteArray> toWindows1252(const QString& text);
// One line of the file decoded: UTF-8 when valid, Windows-1252 otherwise.
QString decodeLine(const char* data, qsizetype length);
// Windows-1252 bytes as text (the five bytes the code page leaves undefined map to the
// control characters of the same number, as the platform's own conversion does).
QString fromWindows1252(const char* data, qsizetype length);

}  // namespace profile
}  // namespace velmora
