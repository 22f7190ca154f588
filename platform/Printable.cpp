#include "platform/Printable.h"

#include <QStringDecoder>
#include <algorithm>

bool IsControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
}

namespace
{

QString Escape(uint value)
{
    return QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
}

// The length of the UTF-8 sequence at `at`, or 0 when none starts there.
qsizetype SequenceLength(const QByteArray& bytes, qsizetype at)
{
    for (qsizetype length = 1; length <= 4 && at + length <= bytes.size(); ++length) {
        if (IsUtf8(bytes.mid(at, length)))
            return length;
    }
    return 0;
}

} // namespace

QString Printable(const QString& text)
{
    QString shown;
    // Control characters all lie in the basic plane; the halves of other characters pass as they are.
    for (const QChar c : text) {
        if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c == u'\t')
            shown += QStringLiteral("\\t");
        else if (c == u'\r')
            shown += QStringLiteral("\\r");
        else if (IsControlCharacter(c))
            shown += Escape(c.unicode());
        else
            shown += c;
    }
    return shown;
}

QString PrintableBytes(const QByteArray& bytes)
{
    QString shown;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = SequenceLength(bytes, at);
        if (length == 0) {
            shown += Escape(quint8(bytes[at]));
            ++at;
            continue;
        }
        shown += Printable(QString::fromUtf8(bytes.mid(at, length)));
        at += length;
    }
    return shown;
}

bool IsUtf8(QByteArrayView bytes)
{
    // Most names are ASCII, which needs no decoding to be known for UTF-8.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return true;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}
