#pragma once

#include <QPair>
#include <QString>
#include <QtGlobal>
#include <optional>

// The size of the file at `path` in bytes, or -1 when it cannot be read.
qint64 FileSizeOf(const QString& path);

// True when both paths name the same existing file, after resolving links.
bool IsSameFile(const QString& a, const QString& b);

// What tells the file at `path` from every other on this machine, after resolving links (its
// device and inode): the same for each of its names, links and bind mounts. Nothing when it
// cannot be found.
std::optional<QPair<quint64, quint64>> FileIdentity(const QString& path);
