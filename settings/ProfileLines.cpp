#include "settings/ProfileLines.h"

#include "platform/TextDecoding.h"

QStringList ProfileLines(const QByteArray& fileBytes)
{
    const qsizetype nul = fileBytes.indexOf('\0');
    const QByteArray bytes = nul < 0 ? fileBytes : fileBytes.first(nul);
    const TextEncoding encoding = DetectEncoding(bytes);
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArray line = bytes.mid(start, end - start);
        lines << Decode(line.left(CharacterBoundaryBefore(line, MaxProfileLineBytes, encoding)), encoding);
        start = end + 1;
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++start;
    }
    return lines;
}
