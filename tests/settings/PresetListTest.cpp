#include "settings/PresetList.h"
#include "controls/DigitBar.h"
#include "controls/MCCBox.h"
#include "platform/Errors.h"
#include "settings/PresetValues.h"
#include "settings/ProfileLines.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QSet>
#include <QSlider>
#include <gtest/gtest.h>

namespace
{

constexpr int NoError = 0;

// The main window's manual controls, with start values that no example line gives.
class PresetFixture
{
protected:
    PresetFixture()
    {
        SetUpPresetLists(presets, codecs);
        pictureSize.setRange(0, 3);
        pictureSize.setValue(1);
        setUpBar(frameRate, 1, 30, 15);
        setUpBar(videoBitRate, 512, 5000, 777);
        sampleRate.setRange(0, 4);
        sampleRate.setValue(1);
        setUpBar(audioBitRate, 16, 160, 64);
    }

    void Fill(const QByteArray& profile)
    {
        programFolder.Write(ProfileFileName, profile);
        FillPresetLists(presets, codecs, programFolder.Path());
    }

    // Applies and returns the conversion error's message, or empty text.
    QString Apply()
    {
        try {
            ApplySelectedPreset(
                {&presets, &codecs, &pictureSize, &frameRate, &videoBitRate, &sampleRate, &audioBitRate});
        } catch (const EConvertError& error) {
            return error.Message();
        }
        return {};
    }

    QString Codec() const { return codecs.Items()[codecs.ItemIndex()]; }

    TempDir programFolder;
    TMultiColComboBox presets;
    TMultiColComboBox codecs;
    QSlider pictureSize;
    TDigitBar frameRate;
    TDigitBar videoBitRate;
    QSlider sampleRate;
    TDigitBar audioBitRate;

private:
    static void setUpBar(TDigitBar& bar, int min, int max, int position)
    {
        bar.SetMax(max); // before Min, so that a range above the default Max arrives whole
        bar.SetMin(min);
        bar.SetPosition(position);
    }
};

class PresetList : public PresetFixture, public ::testing::Test
{
};

TEST_F(PresetList, FillingPutsTheHeaderRowAboveTheLinesAndTheTwoCodecs)
{
    Fill("HD720,mp4,1280x720,LIBX264,30fps,2500kbps,AAC,48000Hz,160kbps\r\n\r\n\"SD 4:3\",mp4\r\n");
    ASSERT_EQ(presets.Items().Count(), 4);
    EXPECT_EQ(presets.Items()[0], PresetHeaderRow);
    EXPECT_EQ(presets.Items()[1], "HD720,mp4,1280x720,LIBX264,30fps,2500kbps,AAC,48000Hz,160kbps");
    EXPECT_EQ(presets.Items()[2], "");
    EXPECT_EQ(presets.Items()[3], "\"SD 4:3\",mp4") << "lines are kept whole";
    EXPECT_EQ(presets.itemText(3), "SD 4:3") << "the closed box shows the name";
    ASSERT_EQ(codecs.Items().Count(), 2);
    EXPECT_EQ(codecs.Items()[0], "LIBX264");
    EXPECT_EQ(codecs.Items()[1], "MPEG4");
    EXPECT_EQ(presets.ItemIndex(), -1);
    EXPECT_EQ(codecs.ItemIndex(), -1);
}

TEST_F(PresetList, ListsLookAsDesigned)
{
    const int widths[] = {220, 60, 60, 70, 60, 60, 60, 60, 60};
    ASSERT_EQ(presets.Columns().Count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(presets.Columns()[i].Width(), widths[i]);
        EXPECT_FALSE(presets.Columns()[i].ParentColor()) << i;
        EXPECT_FALSE(presets.Columns()[i].ParentFont()) << i;
        EXPECT_EQ(presets.Columns()[i].Font().Color, QColor(0x46, 0x46, 0x46));
        EXPECT_EQ(presets.Columns()[i].Font().Font.pixelSize(), 11);
    }
    EXPECT_EQ(presets.Columns()[0].Color(), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(presets.Columns()[1].Color(), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(presets.Columns()[5].Color(), QColor(0xFF, 0xC4, 0xFF));
    EXPECT_EQ(presets.Columns()[6].Color(), QColor(0xC4, 0xFF, 0xFF));
    EXPECT_EQ(presets.Columns().TotalWidth(), 710);
    EXPECT_EQ(codecs.Columns().TotalWidth(), 272);
    for (const TMultiColComboBox* list : {&presets, &codecs}) {
        EXPECT_EQ(list->ItemHeight(), 13);
        EXPECT_EQ(list->height(), 19);
        EXPECT_EQ(list->Indent(), 1);
        EXPECT_EQ(list->DropDownCount(), 30);
        EXPECT_FALSE(list->CanEdit());
    }
}

TEST_F(PresetList, MissingPresetFileRaisesTheFileOpenErrorWithItsPath)
{
    try {
        FillPresetLists(presets, codecs, programFolder.Path());
        FAIL() << "no error raised";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message(), "ファイル " + programFolder.Path() + "/profile.txt は開けません");
    }
}

TEST_F(PresetList, Cp932PresetFileIsReadAsCodePage932)
{
    // "おまかせ" as the name, then a valid preset.
    Fill("\x82\xa8\x82\xdc\x82\xa9\x82\xb9,mp4,960x540,MPEG4,25fps,1800kbps,AAC,22050Hz,64kbps\r\n");
    presets.SetItemIndex(1);
    EXPECT_EQ(presets.SelectedText(), "おまかせ");
    EXPECT_EQ(Apply(), "");
    EXPECT_EQ(pictureSize.value(), 2);
    EXPECT_EQ(Codec(), "MPEG4");
    EXPECT_EQ(frameRate.Position(), 25);
    EXPECT_EQ(sampleRate.value(), 2);
}

// One preset line applied to controls at their start values (size 1, 15 fps, 777 kbit/s,
// sample rate 1, 64 kbit/s; no codec).
struct ApplyCase {
    const char* name;
    const char* line;
    int size;
    const char* codec;
    int frameRate;
    int videoBitRate;
    int sampleRate;
    int audioBitRate;
    const char* error; // the number that could not be converted, or nullptr
};

void PrintTo(const ApplyCase& c, std::ostream* os)
{
    *os << c.name;
}

class ApplyingAPreset : public PresetFixture, public ::testing::TestWithParam<ApplyCase>
{
};

TEST_P(ApplyingAPreset, SetsTheControlsUpToTheFirstBadNumber)
{
    const ApplyCase& c = GetParam();
    Fill(QByteArray(c.line) + "\r\n");
    presets.SetItemIndex(1);
    const QString expectedError =
        c.error ? QStringLiteral("'%1' は整数ではありません").arg(QString::fromUtf8(c.error)) : QString();
    EXPECT_EQ(Apply(), expectedError);
    EXPECT_EQ(pictureSize.value(), c.size);
    EXPECT_EQ(Codec(), c.codec);
    EXPECT_EQ(frameRate.Position(), c.frameRate);
    EXPECT_EQ(videoBitRate.Position(), c.videoBitRate);
    EXPECT_EQ(sampleRate.value(), c.sampleRate);
    EXPECT_EQ(audioBitRate.Position(), c.audioBitRate);
    EXPECT_EQ(presets.ItemIndex(), 1);
    EXPECT_EQ(presets.TargetColumn(), 0) << "the closed box shows the preset name again";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ApplyingAPreset,
    ::testing::Values(
        ApplyCase{"hd720", "HD720,mp4,1280x720,LIBX264,30fps,2500kbps,AAC,48000Hz,160kbps", 3, "LIBX264", 30,
                  2500, 0, 160, nullptr},
        ApplyCase{"unknownSampleRateKeepsItsControl",
                  "MyClip,mp4,720x480,MPEG4,24fps,1000kbps,AAC,32000Hz,96kbps", 1, "MPEG4", 24, 1000, 1, 96,
                  nullptr},
        ApplyCase{"quotedNameWithASpace", "\"SD 4:3\",mp4,640x480,MPEG4,30fps,1500kbps,AAC,44100Hz,128kbps",
                  0, "MPEG4", 30, 1500, 1, 128, nullptr},
        ApplyCase{"unquotedNameWithASpaceShiftsTheFields",
                  "SD 4:3,mp4,640x480,MPEG4,30fps,1500kbps,AAC,44100Hz,128kbps", 1, "LIBX264", 15, 777, 1, 64,
                  ""},
        ApplyCase{"capitalXIsNoSize", "A,mp4,1280X720,LIBX264,30fps,2500kbps,AAC,48000Hz,160kbps", 1,
                  "LIBX264", 30, 2500, 0, 160, nullptr},
        ApplyCase{"blankInsideQuotedSizeIsNoSize",
                  "A,mp4,\" 1280x720\",MPEG4,30fps,2500kbps,AAC,48000Hz,160kbps", 1, "MPEG4", 30, 2500, 0,
                  160, nullptr},
        ApplyCase{"unitFirstIsEmptyText", "A,mp4,960x540,MPEG4,fps30,2500kbps,AAC,48000Hz,160kbps", 2,
                  "MPEG4", 15, 777, 1, 64, ""},
        ApplyCase{"leadingZero", "A,mp4,960x540,MPEG4,030fps,2500kbps,AAC,48000Hz,160kbps", 2, "MPEG4", 30,
                  2500, 0, 160, nullptr},
        ApplyCase{"fractionStopsAtTheFrameRate", "A,mp4,640x480,MPEG4,29.97fps,2500kbps,AAC,48000Hz,160kbps",
                  0, "MPEG4", 15, 777, 1, 64, "29.97"},
        ApplyCase{"badAudioBitRateStopsAtTheLastStep", "A,mp4,640x480,MPEG4,20fps,900kbps,AAC,8000Hz,96Kbps",
                  0, "MPEG4", 20, 900, 4, 64, ""},
        ApplyCase{"emptyLineSetsTheFirstCodecThenFails", "", 1, "LIBX264", 15, 777, 1, 64, ""},
        ApplyCase{"valuesBeyondTheRangesAreClamped",
                  "A,mp4,1280x720,LIBX264,60fps,8000kbps,AAC,11025Hz,192kbps", 3, "LIBX264", 30, 5000, 3, 160,
                  nullptr},
        ApplyCase{"lowBitRateIsClamped", "A,mp4,1280x720,LIBX264,1fps,256kbps,AAC,11025Hz,8kbps", 3,
                  "LIBX264", 1, 512, 3, 16, nullptr}),
    [](const ::testing::TestParamInfo<ApplyCase>& info) { return std::string(info.param.name); });

struct CodecCase {
    const char* field;
    const char* codec;
};

class CodecField : public PresetFixture, public ::testing::TestWithParam<CodecCase>
{
};

TEST_P(CodecField, SelectsTheFirstCodecThatContainsIt)
{
    Fill(QByteArray("A,mp4,640x480,") + GetParam().field + ",30fps,1500kbps,AAC,44100Hz,128kbps");
    EXPECT_EQ(Apply(), "");
    EXPECT_EQ(Codec(), GetParam().codec) << GetParam().field;
}

INSTANTIATE_TEST_SUITE_P(Fields, CodecField,
                         ::testing::Values(CodecCase{"LIBX264", "LIBX264"}, CodecCase{"X264", "LIBX264"},
                                           CodecCase{"264", "LIBX264"}, CodecCase{"MPEG4", "MPEG4"},
                                           CodecCase{"MPEG", "MPEG4"}, CodecCase{"PEG4", "MPEG4"},
                                           CodecCase{"4", "LIBX264"}, CodecCase{"libx264", "LIBX264"},
                                           CodecCase{"mpeg4", "LIBX264"}, CodecCase{"\"\"", "LIBX264"}));

TEST_F(PresetList, HeaderRowOrNoSelectionAppliesTheFirstPreset)
{
    Fill("A,mp4,640x480,MPEG4,20fps,900kbps,AAC,8000Hz,96kbps\nB,mp4,1280x720,LIBX264,30fps,2500kbps,AAC,"
         "48000Hz,160kbps\n");
    for (int chosen : {0, -1}) {
        presets.SetItemIndex(chosen);
        EXPECT_EQ(Apply(), "");
        EXPECT_EQ(presets.ItemIndex(), 1) << chosen;
        EXPECT_EQ(frameRate.Position(), 20);
        EXPECT_EQ(presets.SelectedText(), "A");
        frameRate.SetPosition(1);
    }
    presets.SetItemIndex(2);
    EXPECT_EQ(Apply(), "");
    EXPECT_EQ(frameRate.Position(), 30);
}

TEST_F(PresetList, EmptyPresetFileLeavesNothingSelectedAndReportsEmptyText)
{
    Fill("");
    presets.SetItemIndex(0);
    EXPECT_EQ(Apply(), "'' は整数ではありません");
    EXPECT_EQ(presets.ItemIndex(), -1);
    EXPECT_EQ(Codec(), "LIBX264");
    EXPECT_EQ(pictureSize.value(), 1);
    EXPECT_EQ(frameRate.Position(), 15);
    EXPECT_EQ(presets.TargetColumn(), 0);
}

TEST_F(PresetList, ShippedPresetsAllApplyWithinTheControlsRanges)
{
    QFile shipped(BuiltProgramFolder() + "/profile.txt");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << "the build copies profile.txt beside korumi";
    const QStringList lines = ProfileLines(shipped.readAll());
    ASSERT_GE(lines.size(), 4);
    FillPresetLists(presets, codecs, BuiltProgramFolder());

    QSet<int> h264Sizes;
    bool hasMpeg4 = false;
    for (int i = 1; i <= lines.size(); ++i) {
        presets.SetItemIndex(i);
        ASSERT_EQ(Apply(), "") << lines[i - 1].toStdString();
        const auto field = [&](int column) { return presets.GetColumnText(i, column); };
        EXPECT_EQ(CommaTextFields(lines[i - 1]).size(), 9) << lines[i - 1].toStdString();
        EXPECT_EQ(frameRate.Position(), NumberBeforeUnit(field(4), "fps")) << "not clamped";
        EXPECT_EQ(videoBitRate.Position(), NumberBeforeUnit(field(5), "kbps")) << "not clamped";
        EXPECT_EQ(audioBitRate.Position(), NumberBeforeUnit(field(8), "kbps")) << "not clamped";
        EXPECT_EQ(PictureSizeIndex(field(2)), pictureSize.value());
        EXPECT_EQ(SampleRateIndex(NumberBeforeUnit(field(7), "Hz")), sampleRate.value());
        EXPECT_EQ(Codec(), field(3)) << "the codec is named in full";
        if (Codec() == "LIBX264")
            h264Sizes.insert(pictureSize.value());
        hasMpeg4 = hasMpeg4 || Codec() == "MPEG4";
    }
    EXPECT_EQ(h264Sizes, QSet<int>({0, 1, 2, 3})) << "an H.264 preset for every picture size";
    EXPECT_TRUE(hasMpeg4);
    presets.SetItemIndex(1);
    EXPECT_EQ(presets.GetColumnText(1, 2), "720x480") << "the first preset suits a television";
    EXPECT_EQ(presets.GetColumnText(1, 3), "LIBX264");
}

} // namespace
