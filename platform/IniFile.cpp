#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/ReadInput.h"

#include <QFileInfo>

namespace
{
// Far more than any settings file holds; a file larger than this is not one.
constexpr qint64 MaxIniBytes = 4 * 1024 * 1024;
} // namespace

std::optional<IniDocument> ReadIniFile(const QString& path, QString* why)
{
    const SmallFile file = ReadSmallFile(path, MaxIniBytes);
    if (file.Missing)
        return IniDocument();
    if (!file.Problem.isEmpty()) {
        if (why != nullptr)
            *why = file.Problem;
        return std::nullopt;
    }
    return IniDocument(file.Bytes);
}

IniDocument ReadIniFileForWriting(const QString& path)
{
    const SmallFile file = ReadSmallFile(path, MaxIniBytes);
    if (file.Missing)
        return IniDocument();
    if (!file.Problem.isEmpty())
        throw EIniFileError(QFileInfo(path).absoluteFilePath());
    return IniDocument(file.Bytes);
}

void WriteIniFile(const QString& path, const IniDocument& document)
{
    if (!ReplaceFileAtomically(path, document.ToBytes()))
        throw EIniFileError(QFileInfo(path).absoluteFilePath());
}
