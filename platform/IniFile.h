#pragma once

#include <QString>

// A settings file in the INI text format ("[section]" lines, then "key=value" lines), read and
// written one key at a time. Sections and keys match case-insensitively and the first match
// counts; blanks around values are dropped. A missing file reads as all keys missing.
//
// Every write re-reads the file, changes the one key and leaves every other line exactly as it
// was. The new file is written beside the old one and renamed over it, so a crash or a full
// disk never leaves half a file. The file is written as UTF-8; a file that is not valid UTF-8
// (from a Windows installation) is read as code page 932 and rewritten as UTF-8 as a whole.
class TIniFile
{
public:
    explicit TIniFile(const QString& path);

    const QString& FileName() const { return m_path; }

    // The value, at most MaxTextLength characters; `defaultValue` when the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Hexadecimal after "0x" or "0X" when the value is longer than two characters, else a decimal
    // whole number; `defaultValue` when the key is missing or its value is neither.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

    // Raise EIniFileError with the file's full path when the file cannot be written.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);

    static constexpr int MaxTextLength = 2047;

private:
    QString m_path;
};
