#include "controls/TextRamp.h"

namespace
{

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

int Channel(int from, int to, double position)
{
    return static_cast<int>(from + (to - from) * position);
}

// Each character in its own run, the colour moving evenly from `from` to `to`; a part of one
// character is a single aligned run in `from`.
void ColorCharacters(std::vector<RampPiece>& pieces, const QStringList& characters, QColor from, QColor to)
{
    const qsizetype count = characters.size();
    if (count == 1) {
        pieces.push_back({characters.front(), from, true});
        return;
    }
    for (qsizetype i = 0; i < count; ++i) {
        const double position = static_cast<double>(i) / static_cast<double>(count - 1);
        const QColor color(Channel(from.red(), to.red(), position),
                           Channel(from.green(), to.green(), position),
                           Channel(from.blue(), to.blue(), position));
        pieces.push_back({characters[i], color, false});
    }
}

// How many leading characters start within the first half of the text's bytes; the character
// that holds the middle byte goes whole to the first part.
qsizetype FirstPartLength(const QStringList& characters)
{
    qsizetype totalBytes = 0;
    for (const QString& character : characters)
        totalBytes += character.toUtf8().size();
    const qsizetype half = totalBytes / 2;
    qsizetype start = 0;
    qsizetype count = 0;
    for (const QString& character : characters) {
        if (start >= half)
            break;
        start += character.toUtf8().size();
        ++count;
    }
    return count;
}

} // namespace

QStringList Utf8Characters(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    QStringList characters;
    qsizetype start = 0;
    for (qsizetype i = 1; i <= bytes.size(); ++i) {
        if (i == bytes.size() || !IsContinuationByte(bytes[i])) {
            characters << QString::fromUtf8(bytes.mid(start, i - start));
            start = i;
        }
    }
    return characters;
}

int CharacterCount(const QString& text)
{
    return static_cast<int>(Utf8Characters(text).size());
}

std::vector<RampPiece> TextRamp(const QString& text, TTextGradation gradation, QColor first, QColor mid,
                                QColor last)
{
    const QStringList characters = Utf8Characters(text);
    std::vector<RampPiece> pieces;
    if (gradation == tgNone || characters.size() < 2)
        return pieces;
    if (gradation == tg2Colors || characters.size() == 2) {
        ColorCharacters(pieces, characters, first, last);
        return pieces;
    }
    const qsizetype split = FirstPartLength(characters);
    const QStringList rest = characters.mid(split);
    ColorCharacters(pieces, characters.first(split), first, mid);
    if (rest.size() == 1)
        ColorCharacters(pieces, rest, last, last);
    else
        ColorCharacters(pieces, rest, mid, last);
    return pieces;
}
