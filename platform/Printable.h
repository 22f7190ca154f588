#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Whether `c` is a C0 or C1 control character or DEL: what would break a line or drive a terminal.
bool IsControlCharacter(QChar c);

// Text for a line of a console or a message, where a control character in a file name would
// break the line or drive the terminal: line breaks, tabs and other control characters are shown
// as escapes ("\n", "\t", "\x1b"); everything else stays as it is.
QString Printable(const QString& text);

// Bytes of a file name for people: what is UTF-8 shown as text (as Printable shows it), any
// other byte as "\xHH".
QString PrintableBytes(const QByteArray& bytes);

// Whether `bytes` are valid UTF-8 to the last byte, so that a file name made of them survives
// being text. (Reading a text file, DetectEncoding forgives a character cut off at the end.)
bool IsUtf8(QByteArrayView bytes);
