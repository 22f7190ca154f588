#pragma once

#include <QFont>
#include <thread>

// The font names the windows are designed with, mapped to fonts Debian ships.
namespace Fonts
{

inline const QString UiGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString Tahoma = QStringLiteral("Tahoma");
inline const QString Arial = QStringLiteral("Arial");

// Registers the substitutions once per process: UiGothic → IPAPGothic, Tahoma/Arial → DejaVu Sans.
void RegisterSubstitutions();

// The installed family that stands for a designed one.
QString Installed(const QString& family);

// A font of `family` with a height in pixels, optionally bold.
QFont Pixel(const QString& family, int pixelSize, bool bold = false);

// Reads the system's font configuration (a hundred files and the caches) on a thread of its own
// while the application object connects to the display, instead of when the first text is
// measured. Held for as long as the application object lives.
class ConfigurationPreload
{
public:
    ConfigurationPreload();
    ~ConfigurationPreload();
    ConfigurationPreload(const ConfigurationPreload&) = delete;
    ConfigurationPreload& operator=(const ConfigurationPreload&) = delete;

private:
    std::thread m_thread;
};

} // namespace Fonts
