#include "platform/TextDecoding.h"

#include <QStringDecoder>

namespace
{

// ICU's name for code page 932 with its NEC and IBM extensions.
constexpr char Cp932Name[] = "windows-31j";

bool IsUtf8Continuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// First bytes of the double-byte characters of code page 932.
bool IsCp932LeadByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

int Utf8BoundaryBefore(const QByteArray& bytes, int end)
{
    while (end > 0 && end < bytes.size() && IsUtf8Continuation(bytes[end]))
        --end;
    return end;
}

int Cp932BoundaryBefore(const QByteArray& bytes, int maxBytes)
{
    int position = 0;
    while (position < bytes.size()) {
        const int next = position + (IsCp932LeadByte(bytes[position]) ? 2 : 1);
        if (next > maxBytes)
            break;
        position = next;
    }
    return qMin(position, static_cast<int>(bytes.size()));
}

} // namespace

TextEncoding DetectEncoding(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString decoded = utf8.decode(bytes);
    return utf8.hasError() ? TextEncoding::Cp932 : TextEncoding::Utf8;
}

QString Decode(const QByteArray& bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Cp932)
        return QStringDecoder(Cp932Name).decode(bytes);
    return QStringDecoder(QStringDecoder::Utf8).decode(bytes);
}

QString DecodeText(const QByteArray& bytes)
{
    return Decode(bytes, DetectEncoding(bytes));
}

int CharacterBoundaryBefore(const QByteArray& bytes, int maxBytes, TextEncoding encoding)
{
    if (bytes.size() <= maxBytes)
        return bytes.size();
    return encoding == TextEncoding::Utf8 ? Utf8BoundaryBefore(bytes, maxBytes)
                                          : Cp932BoundaryBefore(bytes, maxBytes);
}
