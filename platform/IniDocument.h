#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A settings file in the INI text format ("[section]" lines, then "key=value" lines), held in
// memory: read once, changed, written once. Sections and keys match case-insensitively and the
// first match counts; blanks around values are dropped, and so is one pair of double quotes
// around a whole value. Each line is UTF-8 when it is valid UTF-8, else code page 932 (a file
// from a Windows installation); every line that is not changed is written back byte for byte,
// and changed or new lines are written as UTF-8.
class IniDocument
{
public:
    static constexpr int MaxTextLength = 2047;

    IniDocument() = default;
    explicit IniDocument(const QByteArray& bytes);

    // The value of `key` in `section`, at most MaxTextLength characters; nothing when missing.
    std::optional<QString> Value(const QString& section, const QString& key) const;
    // Hexadecimal after "0x" or "0X" when the value is longer than two characters, else a decimal
    // whole number; nothing when the key is missing or its value is neither.
    std::optional<int> Integer(const QString& section, const QString& key) const;

    // Sets `key` in `section`, adding the key, or the section at the end, when missing. A line
    // break inside `value` becomes a space, so a value can never plant other keys.
    void SetValue(const QString& section, const QString& key, const QString& value);
    void SetInteger(const QString& section, const QString& key, int value);

    QByteArray ToBytes() const;

private:
    struct Line {
        QByteArray bytes;     // as read; empty for a changed or new line
        QString text;         // decoded, without the line break
        QByteArray lineBreak; // "\r\n", "\r", "\n" or nothing at the very end
    };
    // Positions of the section header, the key line (-1 when missing) and the line after the
    // section's last non-blank line, where a new key goes.
    struct Location {
        int section = -1;
        int key = -1;
        int sectionEnd = -1;
    };

    Location find(const QString& section, const QString& key) const;
    void insertLine(int position, const QString& text);
    QByteArray lineBreak() const;

    QList<Line> m_lines;
};
