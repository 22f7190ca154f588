#pragma once

#include <QByteArray>
#include <QStringList>

// The longest line of the preset file that is used; longer lines are cut.
constexpr int MaxProfileLineBytes = 4096;

// The lines of the preset file. A line ends at CR LF, a lone CR or a lone LF; the empty rest
// after a final line break is no line. A line longer than MaxProfileLineBytes keeps that many
// bytes at most, cut between two characters. A NUL byte ends the text. The file is UTF-8, or
// code page 932 when it is not valid UTF-8.
QStringList ProfileLines(const QByteArray& bytes);
