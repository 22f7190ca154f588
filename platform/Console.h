#pragma once

#include <QString>
#include <cstdio>

// Writes `line` and a line break as UTF-8 to `stream` (stdout or stderr) at once, so lines from
// Korumi and from the programs it runs never interleave out of order. It waits while the reader
// is slow, but not past a stop signal: after one, only what the stream takes at once is written.
// Returns whether all of it was written; errno then tells why not (EINTR: a stop signal).
bool WriteLine(std::FILE* stream, const QString& line);

// Writes `bytes` as they are, waiting as WriteLine does: many lines gathered into one write.
bool WriteBytes(std::FILE* stream, const QByteArray& bytes);

// Replaces the current line of a terminal with `line`, leaving the cursor on it.
bool RewriteLine(std::FILE* stream, const QString& line);

// The same for lines that a later one supersedes (progress): written only when `stream` takes
// them without waiting, so a reader that stops reading never holds up the run. Returns whether
// the line was written.
bool OfferLine(std::FILE* stream, const QString& line);
bool OfferRewrite(std::FILE* stream, const QString& line);

// Whether `stream` goes to a terminal.
bool IsTerminal(std::FILE* stream);

// Puts /dev/null in the place of standard input, output or error where the caller closed them
// (`korumi <&-`): else the next file Korumi opens would take that number, and lines meant for
// the console would be written into it. Writing to a stream that was closed still fails, as it
// would have (EBADF). Call before anything else opens a file.
void KeepStandardStreamsOpen();
