#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

#include <QFile>
#include <QFileInfo>

std::optional<IniDocument> ReadIniFile(const QString& path, QString* why)
{
    QFile file(path);
    if (!file.exists())
        return IniDocument();
    if (!file.open(QIODevice::ReadOnly)) {
        if (why != nullptr)
            *why = file.errorString();
        return std::nullopt;
    }
    return IniDocument(file.readAll());
}

IniDocument ReadIniFileForWriting(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return IniDocument();
    if (!file.open(QIODevice::ReadOnly))
        throw EIniFileError(QFileInfo(path).absoluteFilePath());
    return IniDocument(file.readAll());
}

void WriteIniFile(const QString& path, const IniDocument& document)
{
    if (!ReplaceFileAtomically(path, document.ToBytes()))
        throw EIniFileError(QFileInfo(path).absoluteFilePath());
}
