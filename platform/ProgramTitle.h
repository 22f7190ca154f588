#pragma once

#include <QString>

// The program's name as people see it: in window and message titles and the version line.
inline const QString ProgramTitle = QStringLiteral("Korumi");
