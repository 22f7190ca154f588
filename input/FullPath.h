#pragma once

#include <QString>

// `path` made absolute against the current folder, with "." and ".." folded by the text alone
// (links are not resolved) and repeated separators made one. A trailing separator stays; an
// empty path stays empty.
QString FullPath(const QString& path);
