#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

#include <QFile>
#include <QFileInfo>

IniDocument ReadIniFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? IniDocument(file.readAll()) : IniDocument();
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

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    return ReadIniFile(m_path).Value(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    return ReadIniFile(m_path).Integer(section, key).value_or(defaultValue);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    IniDocument document = ReadIniFileForWriting(m_path);
    document.SetValue(section, key, value);
    WriteIniFile(m_path, document);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}
