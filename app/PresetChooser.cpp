#include "app/PresetChooser.h"

#include "controls/MCCBox.h"
#include "platform/DesignColors.h"
#include "platform/Fonts.h"
#include "platform/SystemColors.h"
#include "settings/Preset.h"
#include "settings/PresetList.h"

#include <initializer_list>

namespace
{

using namespace DesignColors;

const QColor White = ColorOf(SystemColor::Window);
const QColor Face = ColorOf(SystemColor::ButtonFace);
constexpr int FontPixels = 11;
constexpr int ListItemHeight = 13;
constexpr int ListDropDownCount = 30;
constexpr int ListIndent = 1;

struct ColumnLayout {
    int width;
    QColor color;
};

void SetUpList(TMultiColComboBox& list, std::initializer_list<ColumnLayout> layout)
{
    const TFont font{Fonts::Pixel(Fonts::UiGothic, FontPixels), TextGrey};
    list.Columns().Clear();
    for (const ColumnLayout& spec : layout) {
        TCBColumn& column = list.Columns().Add();
        column.SetWidth(spec.width);
        column.SetColor(spec.color);
        column.SetFont(font);
        column.SetParentColor(false);
    }
    list.SetIndent(ListIndent);
    list.SetColor(White);
    list.SetFont(font);
    list.SetItemHeight(ListItemHeight);
    list.SetDropDownCount(ListDropDownCount);
    list.SetCanEdit(false);
}

} // namespace

void SetUpPresetList(TMultiColComboBox& presets)
{
    SetUpList(presets, {{220, White},
                        {60, Face},
                        {60, VideoTint},
                        {70, VideoTint},
                        {60, VideoTint},
                        {60, VideoTint},
                        {60, AudioTint},
                        {60, AudioTint},
                        {60, AudioTint}});
}

void FillPresetList(TMultiColComboBox& presets, const PresetList& list)
{
    presets.Items().Add(PresetHeaderRow);
    for (const QString& record : list.Records())
        presets.Items().Add(record);
}
