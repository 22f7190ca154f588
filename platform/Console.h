#pragma once

#include <QString>
#include <cstdio>

// Writes `line` and a line break as UTF-8 to `stream` (stdout or stderr) and flushes it, so
// lines from Korumi and from the programs it runs never interleave out of order.
void WriteLine(std::FILE* stream, const QString& line);
