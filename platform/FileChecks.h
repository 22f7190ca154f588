#pragma once

#include <QString>
#include <QtGlobal>

// The size of the file at `path` in bytes, or -1 when it cannot be read.
qint64 FileSizeOf(const QString& path);

// True when both paths name the same existing file, after resolving links.
bool IsSameFile(const QString& a, const QString& b);
