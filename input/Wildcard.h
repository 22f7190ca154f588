#pragma once

#include <QString>

// The pattern that matches every name.
inline const QString AllNames = QStringLiteral("*.*");

// Whether `name` matches `pattern` by the Windows rules: "*" matches any run of characters, "?" one
// character, letter case is ignored, and "*.*" matches every name, with or without a dot.
bool MatchesWildcard(const QString& name, const QString& pattern);
