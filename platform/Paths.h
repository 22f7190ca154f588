#pragma once

#include <QString>

// Path helpers. The separator is "/"; folders are held without a trailing separator,
// except the root "/" itself.
namespace Paths
{

constexpr QChar Separator = u'/';

// The part after the last separator.
QString ExtractFileName(const QString& path);

// The part of the file name from its last "." on; empty when the name has no dot.
QString ExtractFileExt(const QString& path);

// The path with the file name's extension replaced by `extension` (appended when there is none).
QString ChangeFileExt(const QString& path, const QString& extension);

// The path without one trailing separator; the root "/" is kept as it is.
QString ExcludeTrailingSeparator(const QString& path);

// The path with a trailing separator; an empty path stays empty.
QString IncludeTrailingSeparator(const QString& path);

// `folder` + "/" + `name`, never doubling the separator after the root or a folder that ends in one.
QString Join(const QString& folder, const QString& name);

// The path with a leading "~" (alone or before "/") standing for the folder `home`, as a shell
// reads it; any other path unchanged.
QString ExpandHome(const QString& path, const QString& home);

// Whether `path` begins with a "~" that stands for the home folder (alone or before "/").
bool NamesHome(const QString& path);

// A folder as the user writes it, made usable: "~" expanded to the user's home, without a
// trailing separator. Without a home (HOME unset) the "~" stays, for the caller to refuse: the
// root is no one's home.
QString UsableFolder(const QString& path);

} // namespace Paths
