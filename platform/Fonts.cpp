#include "platform/Fonts.h"

#include <fontconfig/fontconfig.h>

namespace Fonts
{

namespace
{

struct Substitution {
    const QString& Designed;
    QString Installed;
};

const Substitution Substitutions[] = {
    {UiGothic, QStringLiteral("IPAPGothic")},
    {Tahoma, QStringLiteral("DejaVu Sans")},
    {Arial, QStringLiteral("DejaVu Sans")},
};

} // namespace

void RegisterSubstitutions()
{
    for (const Substitution& substitution : Substitutions)
        QFont::insertSubstitution(substitution.Designed, substitution.Installed);
}

QString Installed(const QString& family)
{
    for (const Substitution& substitution : Substitutions)
        if (substitution.Designed == family)
            return substitution.Installed;
    return family;
}

QFont Pixel(const QString& family, int pixelSize, bool bold)
{
    // Named by the installed family, Qt finds the font at once; by the designed name it would
    // first fail to, and ask the system for a fallback list on every size and weight.
    QFont font(Installed(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

ConfigurationPreload::ConfigurationPreload() : m_thread([] { FcInit(); }) {}

ConfigurationPreload::~ConfigurationPreload()
{
    m_thread.join();
}

} // namespace Fonts
