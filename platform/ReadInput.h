#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// Reading what Korumi is given, within limits and never past a stop signal.

// Reads `path` ("-" for standard input) piece by piece, handing each piece to `take`, until its
// end or until `take` returns false. Waits as long as a writer takes (a pipe, a terminal), but a
// stop signal ends the wait, so Ctrl+C is never held up by a list still coming. Returns why it
// could not be read; empty when it was, or when `take` stopped it.
QString ReadInput(const QString& path, const std::function<bool(QByteArrayView)>& take);

// A file read whole, or why not.
struct SmallFile {
    bool Missing = false; // there is no file at the path
    QByteArray Bytes;
    QString Problem; // empty when the file was read
};

// Reads the regular file at `path`, of at most `maxBytes`. Anything else at the path (a pipe, a
// device, a folder) is not read at all, and is a problem, as a larger file is.
SmallFile ReadSmallFile(const QString& path, qint64 maxBytes);
