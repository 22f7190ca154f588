#include "platform/ShellWords.h"

#include "platform/Printable.h"

#include <algorithm>

namespace
{

// A single quote inside a single-quoted word: the quoting is closed, the quote escaped, and the
// quoting opened again.
constexpr QStringView QuoteInQuotes = u"'\\''";

bool isPlain(QChar c)
{
    switch (const char16_t u = c.unicode()) {
    case '_':
    case '@':
    case '%':
    case '+':
    case '=':
    case ':':
    case ',':
    case '.':
    case '/':
    case '-':
        return true;
    default:
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
    }
}

// Built in one piece: a batch quotes a path with a space in it for every file.
QString singleQuoted(QStringView text)
{
    QString quoted;
    quoted.reserve(text.size() + 2 + text.count(u'\'') * (QuoteInQuotes.size() - 1));
    quoted += u'\'';
    for (qsizetype from = 0;;) {
        const qsizetype quote = text.indexOf(u'\'', from);
        quoted += text.sliced(from, (quote < 0 ? text.size() : quote) - from);
        if (quote < 0)
            break;
        quoted += QuoteInQuotes;
        from = quote + 1;
    }
    quoted += u'\'';
    return quoted;
}

// `text` as a printf format that prints it: control characters as octal escapes of their UTF-8
// bytes, "%" and "\" doubled, single quotes closed and reopened.
QString printfFormat(const QString& text)
{
    QString format;
    for (const QChar c : text) {
        if (IsControlCharacter(c)) {
            for (const char byte : QString(c).toUtf8())
                format +=
                    QStringLiteral("\\%1").arg(static_cast<unsigned char>(byte), 3, 8, QLatin1Char('0'));
        } else if (c == u'%' || c == u'\\') {
            format += QString(2, c);
        } else if (c == u'\'') {
            format += QuoteInQuotes;
        } else {
            format += c;
        }
    }
    return format;
}

} // namespace

QString ShellWord(const QString& word)
{
    if (word.isEmpty())
        return QStringLiteral("''");
    if (std::all_of(word.begin(), word.end(), isPlain))
        return word;
    QString text;
    qsizetype at = 0;
    while (at < word.size()) {
        qsizetype end = at;
        const bool control = IsControlCharacter(word[at]);
        while (end < word.size() && IsControlCharacter(word[end]) == control)
            ++end;
        if (!control) {
            text += singleQuoted(QStringView(word).sliced(at, end - at));
        } else {
            // The character after the controls goes into the same printf, since the shell drops
            // line breaks at the end of what a command prints. Line breaks that end the word are
            // written as they are.
            qsizetype printed = end;
            if (printed < word.size())
                printed += word[printed].isHighSurrogate() && printed + 1 < word.size() ? 2 : 1;
            qsizetype breaks = printed;
            while (printed == word.size() && breaks > at && word[breaks - 1] == u'\n')
                --breaks;
            if (breaks > at)
                text += QStringLiteral("\"$(printf '") + printfFormat(word.mid(at, breaks - at)) +
                        QStringLiteral("')\"");
            if (breaks < printed)
                text += singleQuoted(QStringView(word).sliced(breaks, printed - breaks));
            end = printed;
        }
        at = end;
    }
    return text;
}

QString ShellLine(const QStringList& words)
{
    QString line;
    qsizetype length = 0;
    for (const QString& word : words)
        length += word.size() + 1;
    line.reserve(length + 16); // room for a few quotes
    for (const QString& word : words) {
        if (!line.isEmpty())
            line += u' ';
        line += ShellWord(word);
    }
    return line;
}
