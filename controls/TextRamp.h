#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

// How a label's text is coloured character by character.
enum TTextGradation { tgNone, tg2Colors, tg3Colors };

// The characters of `text`, each whole: one to four UTF-8 bytes, never a part of one.
QStringList Utf8Characters(const QString& text);

// How many whole UTF-8 characters `text` holds.
int CharacterCount(const QString& text);

// One run of a colour ramp, drawn left to right from where the previous run ended.
struct RampPiece {
    QString Text;
    QColor Color;
    // A part of one character: drawn with the label's alignment in the width that remains.
    bool Aligned;
};

// The runs that colour `text` from `first` to `last` (through `mid` for tg3Colors). A text of one
// character, or tgNone, gets no runs: it is drawn plainly. The three-colour split falls at half the
// UTF-8 bytes and never inside a character.
std::vector<RampPiece> TextRamp(const QString& text, TTextGradation gradation, QColor first, QColor mid,
                                QColor last);
