#pragma once

#include <QString>
#include <QtGlobal>

// What a file looks like from outside: whether it exists, its 64-bit size and its modification time.
struct FileStamp {
    bool Exists = false;
    qint64 Size = -1;
    qint64 ModifiedNs = 0;

    static FileStamp Of(const QString& path);
    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The size of the file at `path` in bytes, or -1 when it cannot be read.
qint64 FileSizeOf(const QString& path);

// True when both paths name the same existing file, after resolving links.
bool IsSameFile(const QString& a, const QString& b);
