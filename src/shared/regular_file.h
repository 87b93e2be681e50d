#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// Files the program opens by name are read only when they are regular files once links
// are followed: a named pipe, a device or a folder in their place is refused, and never
// blocks the reader (the file is opened without blocking and looked at through the open
// descriptor, so one swapped in after a look cannot block either).
struct RegularFile {
    enum class Status {
        Read,        // `bytes` holds the whole file
        Missing,     // nothing by that name (or a link to nothing)
        NotRegular,  // a folder, a named pipe, a device or a socket: see `mode`
        TooLarge,    // larger than the reader takes; `size` says how large
        Failed,      // it could not be opened or read: see `error`
    };
    Status status = Status::Missing;
    QByteArray bytes;
    unsigned mode = 0;  // st_mode of what the name leads to (type and permission bits)
    qint64 size = 0;
    int error = 0;  // errno of the failure

    bool read() const { return status == Status::Read; }
    bool isFolder() const;
    // The system's words for `error`.
    QString errorText() const;
    // "a folder", "a named pipe", "a device" or "a socket", for a NotRegular file.
    QString kindText() const;
};

// Reads the file at `path` whole; `maxBytes` (when not negative) refuses a larger one.
RegularFile readRegularFile(const QString& path, qint64 maxBytes = -1);

// Whether `path` names a regular file once links are followed (looked at, not opened).
bool isRegularFile(const QString& path);

}  // namespace velmora
