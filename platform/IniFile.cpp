#include "platform/IniFile.h"

#include "platform/Errors.h"
#include "platform/TextDecoding.h"
#include "platform/WholeNumber.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
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

// Cut at MaxTextLength characters, never between the two halves of a surrogate pair.
QString LimitLength(QStringView text)
{
    qsizetype length = qMin(text.size(), qsizetype(TIniFile::MaxTextLength));
    if (length < text.size() && text[length - 1].isHighSurrogate())
        --length;
    return text.left(length).toString();
}

// A line break inside a value would end its line and could plant other keys in the file.
QString OnOneLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
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

// The file as lines with their own line breaks, so that untouched lines are written back as
// they were read.
class IniDocument
{
public:
    IniDocument() = default;

    explicit IniDocument(const QByteArray& bytes)
    {
        const TextEncoding encoding = DetectEncoding(bytes);
        m_bom = encoding == TextEncoding::Utf8 && bytes.startsWith(Utf8Bom);
        splitLines(Decode(bytes, encoding));
    }

    std::optional<QString> Value(const QString& section, const QString& key) const
    {
        const Location location = find(section, key);
        if (location.key < 0)
            return std::nullopt;
        return ParseKeyValue(m_lines[location.key].text)->value.toString();
    }

    void SetValue(const QString& section, const QString& key, const QString& value)
    {
        const Location location = find(section, key);
        if (location.key >= 0) {
            const QStringView fileKey = ParseKeyValue(m_lines[location.key].text)->key;
            m_lines[location.key].text = fileKey.toString() + u'=' + value;
        } else if (location.section >= 0) {
            insertLine(location.sectionEnd, key + u'=' + value);
        } else {
            insertLine(m_lines.size(), u'[' + section + u']');
            insertLine(m_lines.size(), key + u'=' + value);
        }
    }

    QByteArray ToBytes() const
    {
        QString text;
        for (const Line& line : m_lines)
            text += line.text + line.lineBreak;
        return (m_bom ? QByteArray(Utf8Bom) : QByteArray()) + text.toUtf8();
    }

private:
    struct Line {
        QString text;
        QString lineBreak;
    };
    // Positions of the section header, the key line (-1 when missing) and the line after the
    // section's last non-blank line, where a new key goes.
    struct Location {
        int section = -1;
        int key = -1;
        int sectionEnd = -1;
    };

    void splitLines(const QString& text)
    {
        qsizetype start = 0;
        while (start < text.size()) {
            qsizetype end = start;
            while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
                ++end;
            qsizetype next = end;
            if (next < text.size() && text[next] == u'\r')
                ++next;
            if (next < text.size() && text[next] == u'\n')
                ++next;
            m_lines.append({text.mid(start, end - start), text.mid(end, next - end)});
            start = next;
        }
    }

    Location find(const QString& section, const QString& key) const
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
    void insertLine(int position, const QString& text)
    {
        if (position > 0 && m_lines[position - 1].lineBreak.isEmpty())
            m_lines[position - 1].lineBreak = lineBreak();
        m_lines.insert(position, {text, lineBreak()});
    }

    QString lineBreak() const
    {
        for (const Line& line : m_lines) {
            if (!line.lineBreak.isEmpty())
                return line.lineBreak;
        }
        return QStringLiteral("\n");
    }

    QList<Line> m_lines;
    bool m_bom = false;
};

// The document in the file; an empty one when there is no file. A file that exists but cannot
// be read is never replaced, since that would lose its content.
IniDocument LoadForWriting(const QString& fullPath)
{
    QFile file(fullPath);
    if (!file.exists())
        return IniDocument();
    if (!file.open(QIODevice::ReadOnly))
        throw EIniFileError(fullPath);
    return IniDocument(file.readAll());
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// A new, empty file beside `target` under an unused name; created with the permissions any new
// file gets. Returns its descriptor, or -1.
int CreateBeside(const QByteArray& target, QByteArray& created)
{
    constexpr int attempts = 100;
    for (int i = 0; i < attempts; ++i) {
        created = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A rewritten file keeps the permissions it had.
bool KeepMode(int fd, const QByteArray& target)
{
    struct stat old;
    return ::stat(target.constData(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Makes the rename itself survive a power failure; a folder that cannot be synced is no error.
void SyncFolder(const QString& fullPath)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(fullPath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes a new file beside the old one, syncs it and renames it over, so that a crash or a full
// disk leaves the old file whole. Every step is checked; a failed save removes its new file.
void SaveAtomically(const QString& fullPath, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(fullPath);
    QByteArray temporary;
    const int fd = CreateBeside(target, temporary);
    if (fd < 0)
        throw EIniFileError(fullPath);
    const bool written = WriteAll(fd, bytes) && KeepMode(fd, target) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        throw EIniFileError(fullPath);
    }
    SyncFolder(fullPath);
}

// The key's value as read, or nothing when the file or the key is missing.
std::optional<QString> ReadValue(const QString& path, const QString& section, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto value = IniDocument(file.readAll()).Value(section, key);
    return value ? std::optional<QString>(LimitLength(*value)) : std::nullopt;
}

} // namespace

TIniFile::TIniFile(const QString& path) : m_path(path) {}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    return ReadValue(m_path, section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    const auto value = ReadValue(m_path, section, key);
    return value ? ParseIniInteger(*value).value_or(defaultValue) : defaultValue;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString fullPath = QFileInfo(m_path).absoluteFilePath();
    IniDocument document = LoadForWriting(fullPath);
    document.SetValue(section, key, OnOneLine(value));
    SaveAtomically(fullPath, document.ToBytes());
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}
