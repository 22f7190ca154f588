#pragma once

#include <QString>

// `path` made absolute against the current folder, with "." and ".." folded by the text alone
// (links are not resolved) and repeated separators made one. A trailing separator stays; an
// empty path stays empty.
QString FullPath(const QString& path);

// The path of the existing file that `path` names, made absolute with "." and ".." folded, unless
// folding would name another file (a ".." after a link to a folder): then only made absolute.
QString CleanFilePath(const QString& path);
