#include "settings/SettingsFile.h"

#include "controls/BrowseEdit.h"
#include "controls/DigitBar.h"
#include "controls/MCCBox.h"
#include "platform/Application.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSlider>

namespace
{

const QString Window = QStringLiteral("SET");
const QString Conversion = QStringLiteral("SET1");
const QString Output = QStringLiteral("SET2");

constexpr QPoint StartPosition{20, 20};
constexpr QSize TitleStrip{400, 25};

TIniFile settingsFile(const QString& programFolder)
{
    return TIniFile(Paths::Join(programFolder, SettingsFileName));
}

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

void restoreWindowPosition(const TIniFile& ini, QWidget* window)
{
    const QPoint saved(ini.ReadInteger(Window, QStringLiteral("M_LEFT"), window->x()),
                       ini.ReadInteger(Window, QStringLiteral("M_TOP"), window->y()));
    window->move(PlaceOnScreens(saved, TitleStrip, screenAreas()));
}

void restorePreset(const TIniFile& ini, const SettingsControls& controls)
{
    controls.presets->SetItemIndex(
        ini.ReadInteger(Conversion, QStringLiteral("C0"), controls.presets->ItemIndex()));
    try {
        controls.applyPreset();
    } catch (const std::exception& error) {
        // Shown once; the saved values and the paths still arrive.
        Application::ShowException(error);
    }
}

void restoreBar(const TIniFile& ini, const QString& key, TDigitBar* bar)
{
    bar->SetPosition(ini.ReadInteger(Conversion, key, bar->Position()));
}

void restoreBar(const TIniFile& ini, const QString& key, QSlider* bar)
{
    bar->setValue(ini.ReadInteger(Conversion, key, bar->value()));
}

} // namespace

void LoadSettings(const QString& programFolder, const SettingsControls& controls)
{
    const TIniFile ini = settingsFile(programFolder);
    restoreWindowPosition(ini, controls.window);
    restorePreset(ini, controls);
    restoreBar(ini, QStringLiteral("C1"), controls.frameRate);
    restoreBar(ini, QStringLiteral("C2"), controls.videoBitRate);
    restoreBar(ini, QStringLiteral("C3"), controls.sampleRate);
    restoreBar(ini, QStringLiteral("C4"), controls.audioBitRate);
    restoreBar(ini, QStringLiteral("C5"), controls.pictureSize);
    controls.outputFolder->SetPath(
        ini.ReadString(Output, QStringLiteral("C11"), controls.outputFolder->Path()));
    if (controls.outputFolder->Path().isEmpty())
        controls.outputFolder->SetPath(programFolder);
    controls.twoPass->setChecked(
        ini.ReadInteger(Output, QStringLiteral("C12"), controls.twoPass->isChecked()) != 0);
}

void SaveSettings(const QString& programFolder, const SettingsControls& controls)
{
    TIniFile ini = settingsFile(programFolder);
    ini.WriteInteger(Window, QStringLiteral("M_LEFT"), controls.window->x());
    ini.WriteInteger(Window, QStringLiteral("M_TOP"), controls.window->y());
    ini.WriteInteger(Conversion, QStringLiteral("C0"), controls.presets->ItemIndex());
    ini.WriteInteger(Conversion, QStringLiteral("C1"), controls.frameRate->Position());
    ini.WriteInteger(Conversion, QStringLiteral("C2"), controls.videoBitRate->Position());
    ini.WriteInteger(Conversion, QStringLiteral("C3"), controls.sampleRate->value());
    ini.WriteInteger(Conversion, QStringLiteral("C4"), controls.audioBitRate->Position());
    ini.WriteInteger(Conversion, QStringLiteral("C5"), controls.pictureSize->value());
    ini.WriteString(Output, QStringLiteral("C11"), controls.outputFolder->Path());
    ini.WriteInteger(Output, QStringLiteral("C12"), controls.twoPass->isChecked() ? 1 : 0);
}

QPoint PlaceOnScreens(QPoint saved, QSize stripSize, const QList<QRect>& screens)
{
    // In 64 bits: a strip built at a saved position near the integer limits would wrap around
    // and seem to cover every screen.
    const qint64 left = saved.x();
    const qint64 top = saved.y();
    for (const QRect& screen : screens)
        if (left < qint64(screen.x()) + screen.width() && left + stripSize.width() > screen.x() &&
            top < qint64(screen.y()) + screen.height() && top + stripSize.height() > screen.y())
            return saved;
    return StartPosition;
}
