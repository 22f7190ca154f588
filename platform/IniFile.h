#pragma once

#include "platform/IniDocument.h"

#include <QString>

// Reads the INI document at `path`; a missing or unreadable file reads as an empty document.
IniDocument ReadIniFile(const QString& path);

// Reads the INI document at `path` to change it. A missing file is an empty document; a file
// that exists but cannot be read raises EIniFileError, since writing over it would lose its content.
IniDocument ReadIniFileForWriting(const QString& path);

// Writes `document` to `path` as a whole, atomically. Raises EIniFileError with the file's full
// path when it cannot be written.
void WriteIniFile(const QString& path, const IniDocument& document);
