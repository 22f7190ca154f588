#pragma once

#include <QByteArray>
#include <QString>

// Text files of the program (profile.txt, Korumi.ini) are UTF-8; files carried over from a
// Windows installation are code page 932. These helpers read either.

enum class TextEncoding { Utf8, Cp932 };

// UTF-8 when `bytes` are valid UTF-8 (an empty file included), else code page 932.
TextEncoding DetectEncoding(const QByteArray& bytes);

// Decodes `bytes` in `encoding`. A leading UTF-8 byte-order mark is an encoding signature,
// not text, and is dropped.
QString Decode(const QByteArray& bytes, TextEncoding encoding);

// Decode(bytes, DetectEncoding(bytes)).
QString DecodeText(const QByteArray& bytes);

// The length of the longest start of `bytes` that holds at most `maxBytes` bytes and ends
// on a character boundary, so that no multi-byte character is ever cut in two.
int CharacterBoundaryBefore(const QByteArray& bytes, int maxBytes, TextEncoding encoding);
