#pragma once

#include <QString>
#include <cstdio>

// Writes `line` and a line break as UTF-8 to `stream` (stdout or stderr) and flushes it, so
// lines from Korumi and from the programs it runs never interleave out of order.
void WriteLine(std::FILE* stream, const QString& line);

// Replaces the current line of a terminal with `line`, leaving the cursor on it.
void RewriteLine(std::FILE* stream, const QString& line);

// Whether `stream` goes to a terminal.
bool IsTerminal(std::FILE* stream);
