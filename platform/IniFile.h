#pragma once

#include "platform/IniDocument.h"

#include <QString>
#include <optional>

// Reads the INI document at `path`; a missing file reads as an empty document. A file that exists
// but cannot be read gives nothing, with the reason in `why` when asked.
std::optional<IniDocument> ReadIniFile(const QString& path, QString* why = nullptr);

// Reads the INI document at `path` to change it. A missing file is an empty document; a file
// that exists but cannot be read raises EIniFileError, since writing over it would lose its content.
IniDocument ReadIniFileForWriting(const QString& path);

// Writes `document` to `path` as a whole, atomically. Raises EIniFileError with the file's full
// path when it cannot be written.
void WriteIniFile(const QString& path, const IniDocument& document);
