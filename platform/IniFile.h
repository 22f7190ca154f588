#pragma once

#include "platform/IniDocument.h"

#include <QString>

// Reads the INI document at `path`; a missing or unreadable file reads as an empty document.
IniDocument ReadIniFile(const QString& path);

// Reads the INI document at `path` to change it. A missing file is an empty document; a file
// that exists but cannot be read raises EIniFileError, since writing over it would lose its content.
IniDocument ReadIniFileForWriting(const QString& path);

// Writes `document` to `path` as a whole, atomically. Raises EIniFileError with the file's full
// path when it cannot be written.
void WriteIniFile(const QString& path, const IniDocument& document);

// One settings file read and written one key at a time, each write a whole atomic save.
class TIniFile
{
public:
    explicit TIniFile(const QString& path) : m_path(path) {}

    const QString& FileName() const { return m_path; }

    // The value; `defaultValue` when the key is missing (or, for a number, not one).
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

    // Raise EIniFileError with the file's full path when the file cannot be written.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);

private:
    QString m_path;
};
