#include "platform/CommaRule.h"

namespace
{

constexpr char16_t Quote = u'"';
constexpr char16_t Comma = u',';

bool IsBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

// Ends an unquoted field: a comma, a blank or a NUL.
bool EndsField(QChar c)
{
    return c == Comma || c.unicode() <= 32;
}

// The quoted field starting at `position` (on its opening quote); moves `position` past the
// closing quote, or to the end when there is none.
QString QuotedField(QStringView record, qsizetype& position)
{
    QString field;
    for (++position; position < record.size(); ++position) {
        if (record[position] != Quote) {
            field += record[position];
        } else if (position + 1 < record.size() && record[position + 1] == Quote) {
            field += Quote;
            ++position;
        } else {
            ++position;
            break;
        }
    }
    return field;
}

} // namespace

QStringList CommaTextFields(const QString& whole)
{
    const qsizetype nul = whole.indexOf(QChar(0));
    const QStringView record = nul < 0 ? QStringView(whole) : QStringView(whole).first(nul);
    QStringList fields;
    qsizetype position = 0;
    const auto skipBlanks = [&] {
        while (position < record.size() && IsBlank(record[position]))
            ++position;
    };
    skipBlanks();
    while (position < record.size()) {
        if (record[position] == Quote) {
            fields << QuotedField(record, position);
        } else {
            const qsizetype start = position;
            while (position < record.size() && !EndsField(record[position]))
                ++position;
            fields << record.mid(start, position - start).toString();
        }
        skipBlanks();
        if (position < record.size() && record[position] == Comma) {
            if (position == record.size() - 1)
                fields << QString();
            ++position;
            skipBlanks();
        }
    }
    return fields;
}
