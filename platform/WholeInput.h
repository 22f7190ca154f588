#pragma once

#include <QByteArray>
#include <QString>

// All that a file or standard input holds, or why it could not be read whole.
struct WholeInput {
    QByteArray Bytes;
    QString Problem; // empty when everything was read
};

// Reads `path` to its end; "-" is standard input. Waits as long as a writer takes (a pipe, a
// terminal), but a stop signal ends the wait, so Ctrl+C is never held up by a list still coming.
WholeInput ReadWholeInput(const QString& path);
