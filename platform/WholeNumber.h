#pragma once

#include <QString>
#include <optional>

// A whole number as the program's files write it: optional leading spaces, an optional sign,
// then decimal digits and nothing after them, within the 32-bit range.
std::optional<int> ParseWholeNumber(const QString& text);
