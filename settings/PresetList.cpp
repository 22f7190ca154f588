#include "settings/PresetList.h"

#include "controls/DigitBar.h"
#include "controls/MCCBox.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/Paths.h"
#include "settings/PresetValues.h"
#include "settings/ProfileLines.h"

#include <QFile>
#include <QSlider>
#include <QStringList>
#include <initializer_list>

namespace
{

// Fields of a preset line that applying reads.
enum PresetField : quint8 {
    NameField = 0,
    SizeField = 2,
    CodecField = 3,
    FrameRateField = 4,
    VideoBitRateField = 5,
    SampleRateField = 7,
    AudioBitRateField = 8,
};

const QStringList VideoCodecs = {QStringLiteral("LIBX264"), QStringLiteral("MPEG4")};

constexpr QColor White{0xFF, 0xFF, 0xFF};
constexpr QColor Grey{0xF0, 0xF0, 0xF0};
constexpr QColor VideoColumns{0xFF, 0xC4, 0xFF};
constexpr QColor AudioColumns{0xC4, 0xFF, 0xFF};
constexpr QColor TextGrey{0x46, 0x46, 0x46};
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

QStringList ReadProfile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(path);
    return ProfileLines(file.readAll());
}

// Selects the first codec whose name contains `field`, else the first codec.
void SelectCodec(TMultiColComboBox& codecs, const QString& field)
{
    codecs.SetItemIndex(0);
    for (int i = 0; i < codecs.Items().Count(); ++i) {
        if (!field.isEmpty() && codecs.Items()[i].contains(field)) {
            codecs.SetItemIndex(i);
            return;
        }
    }
}

// Puts the preset list back on the name column however applying ends, so that the closed box
// never shows the field where a failed preset stopped.
class NameColumnRestorer
{
public:
    explicit NameColumnRestorer(TMultiColComboBox& presets) : m_presets(presets) {}
    ~NameColumnRestorer() { m_presets.SetTargetColumn(NameField); }
    NameColumnRestorer(const NameColumnRestorer&) = delete;
    NameColumnRestorer& operator=(const NameColumnRestorer&) = delete;

private:
    TMultiColComboBox& m_presets;
};

QString Field(TMultiColComboBox& presets, PresetField field)
{
    presets.SetTargetColumn(field);
    return presets.SelectedText();
}

} // namespace

void SetUpPresetLists(TMultiColComboBox& presets, TMultiColComboBox& codecs)
{
    SetUpList(presets, {{220, White},
                        {60, Grey},
                        {60, VideoColumns},
                        {70, VideoColumns},
                        {60, VideoColumns},
                        {60, VideoColumns},
                        {60, AudioColumns},
                        {60, AudioColumns},
                        {60, AudioColumns}});
    SetUpList(codecs, {{112, White}, {160, Grey}});
}

void FillPresetLists(TMultiColComboBox& presets, TMultiColComboBox& codecs, const QString& programFolder)
{
    presets.Items().Add(PresetHeaderRow);
    for (const QString& line : ReadProfile(Paths::Join(programFolder, ProfileFileName)))
        presets.Items().Add(line);
    for (const QString& codec : VideoCodecs)
        codecs.Items().Add(codec);
}

void ApplySelectedPreset(const PresetControls& controls)
{
    TMultiColComboBox& presets = *controls.presets;
    const NameColumnRestorer restorer(presets);
    if (presets.ItemIndex() < 1)
        presets.SetItemIndex(1);
    if (const auto size = PictureSizeIndex(Field(presets, SizeField)))
        controls.pictureSize->setValue(*size);
    SelectCodec(*controls.codecs, Field(presets, CodecField));
    controls.frameRate->SetPosition(NumberBeforeUnit(Field(presets, FrameRateField), QStringLiteral("fps")));
    controls.videoBitRate->SetPosition(
        NumberBeforeUnit(Field(presets, VideoBitRateField), QStringLiteral("kbps")));
    if (const auto rate =
            SampleRateIndex(NumberBeforeUnit(Field(presets, SampleRateField), QStringLiteral("Hz"))))
        controls.sampleRate->setValue(*rate);
    controls.audioBitRate->SetPosition(
        NumberBeforeUnit(Field(presets, AudioBitRateField), QStringLiteral("kbps")));
}
