#pragma once

#include <QFont>

// The font names the windows are designed with, mapped to fonts Debian ships.
namespace Fonts
{

inline const QString UiGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString Tahoma = QStringLiteral("Tahoma");
inline const QString Arial = QStringLiteral("Arial");

// Registers the substitutions once per process: UiGothic → IPAPGothic, Tahoma/Arial → DejaVu Sans.
void RegisterSubstitutions();

// A font of `family` with a height in pixels, optionally bold.
QFont Pixel(const QString& family, int pixelSize, bool bold = false);

} // namespace Fonts
