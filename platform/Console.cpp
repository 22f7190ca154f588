#include "platform/Console.h"

void WriteLine(std::FILE* stream, const QString& line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stream);
    std::fflush(stream);
}
