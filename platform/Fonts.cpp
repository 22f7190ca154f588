#include "platform/Fonts.h"

namespace Fonts
{

void RegisterSubstitutions()
{
    QFont::insertSubstitution(UiGothic, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(Tahoma, QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(Arial, QStringLiteral("DejaVu Sans"));
}

QFont Pixel(const QString& family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace Fonts
