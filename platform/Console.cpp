#include "platform/Console.h"

#include <unistd.h>

void WriteLine(std::FILE* stream, const QString& line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stream);
    std::fflush(stream);
}

void RewriteLine(std::FILE* stream, const QString& line)
{
    // Back to the line's start, the new text, then the rest of the old line erased.
    std::fputs(("\r" + line + QStringLiteral("\x1b[K")).toUtf8().constData(), stream);
    std::fflush(stream);
}

bool IsTerminal(std::FILE* stream)
{
    return isatty(fileno(stream)) == 1;
}
