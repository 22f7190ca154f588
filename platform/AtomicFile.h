#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes` as one step: the new content is written beside the
// file, flushed to disk and renamed over it, so a crash or a full disk leaves the old file whole.
// A symbolic link stays a link: the file it leads to is replaced. The file keeps its permissions.
// Returns false, with the old file untouched, when any step fails.
bool ReplaceFileAtomically(const QString& path, const QByteArray& bytes);
