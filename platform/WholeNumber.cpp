#include "platform/WholeNumber.h"

#include <limits>

std::optional<int> ParseWholeNumber(const QString& text)
{
    int position = 0;
    while (position < text.size() && text[position] == u' ')
        ++position;
    const bool negative = position < text.size() && text[position] == u'-';
    if (position < text.size() && (text[position] == u'-' || text[position] == u'+'))
        ++position;
    if (position == text.size())
        return std::nullopt;
    // Accumulated as a negative number, whose range reaches one further than the positive one.
    constexpr qint64 lowest = std::numeric_limits<int>::min();
    qint64 value = 0;
    for (; position < text.size(); ++position) {
        const char16_t c = text[position].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 - (c - u'0');
        if (value < lowest)
            return std::nullopt;
    }
    if (!negative && -value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(negative ? value : -value);
}
