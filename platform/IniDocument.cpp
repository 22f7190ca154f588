#include "platform/IniDocument.h"

#include "platform/TextDecoding.h"
#include "platform/WholeNumber.h"

#include <algorithm>

namespace
{

constexpr int HexPrefixLength = 2;

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && IsBlank(text[start]))
        ++start;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

bool SameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "[name]" with blanks allowed around the line and the name.
std::optional<QStringView> SectionName(QStringView line)
{
    const QStringView trimmed = TrimBlanks(line);
    const qsizetype close = trimmed.indexOf(u']');
    if (!trimmed.startsWith(u'[') || close < 0)
        return std::nullopt;
    return TrimBlanks(trimmed.mid(1, close - 1));
}

struct KeyValue {
    QStringView key;
    QStringView value;
};

// "key=value"; lines starting with ";" are comments.
std::optional<KeyValue> ParseKeyValue(QStringView line)
{
    const QStringView trimmed = TrimBlanks(line);
    const qsizetype equals = trimmed.indexOf(u'=');
    if (trimmed.startsWith(u';') || equals < 0)
        return std::nullopt;
    return KeyValue{TrimBlanks(trimmed.left(equals)), TrimBlanks(trimmed.mid(equals + 1))};
}

// A hand-edited value may stand in double quotes, as in C11="/videos/my out".
QStringView WithoutQuotes(QStringView value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

// Cut at MaxTextLength characters, never between the two halves of a surrogate pair.
QString LimitLength(QStringView text)
{
    qsizetype length = qMin(text.size(), qsizetype(IniDocument::MaxTextLength));
    if (length < text.size() && text[length - 1].isHighSurrogate())
        --length;
    return text.left(length).toString();
}

QString OnOneLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

// `value` as it is written so that reading gives it back: in double quotes where reading would
// take away blanks at either end, or the quotes the value itself stands in.
QString AsWritten(const QString& value)
{
    const QString line = OnOneLine(value);
    const bool quoted = WithoutQuotes(line).size() != line.size();
    return TrimBlanks(line).size() != line.size() || quoted ? u'"' + line + u'"' : line;
}

std::optional<int> ParseHex(QStringView digits)
{
    // toUInt also accepts blanks and signs around the digits; the hexadecimal form has digits only.
    const auto isHexDigit = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    if (!std::all_of(digits.begin(), digits.end(), isHexDigit))
        return std::nullopt;
    bool ok = false;
    const uint value = digits.toUInt(&ok, 16);
    return ok ? std::optional<int>(static_cast<int>(value)) : std::nullopt;
}

std::optional<int> ParseIniInteger(const QString& text)
{
    const bool hex = text.size() > HexPrefixLength && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
    return hex ? ParseHex(QStringView(text).mid(HexPrefixLength)) : ParseWholeNumber(text);
}

// The length of the line break at `position`, if one starts there.
qsizetype LineBreakAt(const QByteArray& bytes, qsizetype position)
{
    if (bytes[position] == '\n')
        return 1;
    if (bytes[position] != '\r')
        return 0;
    return position + 1 < bytes.size() && bytes[position + 1] == '\n' ? 2 : 1;
}

} // namespace

IniDocument::IniDocument(const QByteArray& bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && LineBreakAt(bytes, end) == 0)
            ++end;
        const qsizetype breakLength = end < bytes.size() ? LineBreakAt(bytes, end) : 0;
        const QByteArray line = bytes.mid(start, end - start);
        // Each line in its own encoding: UTF-8 where it is valid UTF-8, else code page 932.
        m_lines.append({line, DecodeText(line), bytes.mid(end, breakLength)});
        start = end + breakLength;
    }
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const
{
    const Location location = find(section, key);
    if (location.key < 0)
        return std::nullopt;
    return LimitLength(WithoutQuotes(ParseKeyValue(m_lines[location.key].text)->value));
}

std::optional<int> IniDocument::Integer(const QString& section, const QString& key) const
{
    const std::optional<QString> value = Value(section, key);
    return value ? ParseIniInteger(*value) : std::nullopt;
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QString written = AsWritten(value);
    const Location location = find(section, key);
    if (location.key >= 0) {
        Line& line = m_lines[location.key];
        const QString newText = ParseKeyValue(line.text)->key.toString() + u'=' + written;
        if (newText != line.text)
            line = {{}, newText, line.lineBreak};
    } else if (location.section >= 0) {
        insertLine(location.sectionEnd, key + u'=' + written);
    } else {
        insertLine(m_lines.size(), u'[' + section + u']');
        insertLine(m_lines.size(), key + u'=' + written);
    }
}

void IniDocument::SetInteger(const QString& section, const QString& key, int value)
{
    SetValue(section, key, QString::number(value));
}

QByteArray IniDocument::ToBytes() const
{
    QByteArray bytes;
    for (const Line& line : m_lines)
        bytes += (line.bytes.isEmpty() ? line.text.toUtf8() : line.bytes) + line.lineBreak;
    return bytes;
}

IniDocument::Location IniDocument::find(const QString& section, const QString& key) const
{
    Location location;
    for (int i = 0; i < m_lines.size() && location.section < 0; ++i) {
        const auto name = SectionName(m_lines[i].text);
        if (name && SameName(*name, section))
            location.section = i;
    }
    if (location.section < 0)
        return location;
    location.sectionEnd = location.section + 1;
    for (int i = location.section + 1; i < m_lines.size() && !SectionName(m_lines[i].text); ++i) {
        if (!TrimBlanks(m_lines[i].text).isEmpty())
            location.sectionEnd = i + 1;
        const auto entry = ParseKeyValue(m_lines[i].text);
        if (location.key < 0 && entry && SameName(entry->key, key))
            location.key = i;
    }
    return location;
}

// New lines take the file's own line break; the line before them gets one if it had none.
void IniDocument::insertLine(int position, const QString& text)
{
    if (position > 0 && m_lines[position - 1].lineBreak.isEmpty())
        m_lines[position - 1].lineBreak = lineBreak();
    m_lines.insert(position, {{}, text, lineBreak()});
}

QByteArray IniDocument::lineBreak() const
{
    for (const Line& line : m_lines) {
        if (!line.lineBreak.isEmpty())
            return line.lineBreak;
    }
    return QByteArrayLiteral("\n");
}
