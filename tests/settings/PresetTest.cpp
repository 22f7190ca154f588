#include "settings/Preset.h"
#include "platform/CommaRule.h"
#include "platform/Errors.h"
#include "settings/ConversionSettings.h"
#include "settings/EncodingTables.h"
#include "settings/PresetList.h"
#include "settings/ProfileLines.h"
#include "tests/support/TempDir.h"

#include <QSet>
#include <gtest/gtest.h>

namespace
{

// Settings with start values that no example line gives: size 1, 15 fps, 777 kbit/s, sample
// rate 1, 64 kbit/s, no codec.
ConversionSettings StartValues()
{
    ConversionSettings settings;
    settings.FrameRate = 15;
    settings.VideoBitRate = 777;
    settings.AudioBitRate = 64;
    return settings;
}

PresetList WrittenPresets(const TempDir& folder, const QByteArray& profile)
{
    return PresetList::Read(folder.Write(ProfileFileName, profile));
}

TEST(PresetFile, LinesInOrderEmptyOnesIncludedAndCp932Read)
{
    TempDir folder;
    // "おまかせ" in code page 932 as the name of the third line.
    const PresetList presets =
        WrittenPresets(folder, "HD720,mp4,1280x720\r\n\r\n\x82\xa8\x82\xdc\x82\xa9\x82\xb9,mp4\r\n");
    EXPECT_EQ(presets.Records(), QStringList({"HD720,mp4,1280x720", "", "おまかせ,mp4"}));
}

TEST(PresetFile, MissingFileRaisesTheFileOpenErrorWithItsPath)
{
    TempDir folder;
    try {
        PresetList::Read(folder.File(ProfileFileName));
        FAIL() << "no error raised";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message(), "ファイル " + folder.Path() + "/profile.txt は開けません");
    }
}

// One preset line applied to the start values.
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

class ApplyingAPreset : public ::testing::TestWithParam<ApplyCase>
{
};

TEST_P(ApplyingAPreset, SetsTheValuesUpToTheFirstBadNumber)
{
    const ApplyCase& c = GetParam();
    const PresetList presets({QString::fromUtf8(c.line)});
    ConversionSettings settings = StartValues();
    const PresetList::Applied applied = presets.Apply(1, settings);
    if (c.error)
        EXPECT_EQ(
            applied.Problem,
            QStringLiteral("profile.txt 1 行目: '%1' は整数ではありません").arg(QString::fromUtf8(c.error)));
    else
        EXPECT_EQ(applied.Problem, std::nullopt);
    EXPECT_EQ(settings.PictureSizeIndex, c.size);
    EXPECT_EQ(settings.VideoCodec, c.codec);
    EXPECT_EQ(settings.FrameRate, c.frameRate);
    EXPECT_EQ(settings.VideoBitRate, c.videoBitRate);
    EXPECT_EQ(settings.SampleRateIndex, c.sampleRate);
    EXPECT_EQ(settings.AudioBitRate, c.audioBitRate);
    EXPECT_EQ(applied.Index, 1);
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

class CodecField : public ::testing::TestWithParam<CodecCase>
{
};

TEST_P(CodecField, SelectsTheFirstCodecThatContainsIt)
{
    const ParsedPreset preset =
        ParsePreset(QStringLiteral("A,mp4,640x480,%1,30fps,1500kbps,AAC,44100Hz,128kbps")
                        .arg(QString::fromUtf8(GetParam().field)));
    EXPECT_TRUE(preset.Complete());
    EXPECT_EQ(preset.VideoCodec, GetParam().codec) << GetParam().field;
}

INSTANTIATE_TEST_SUITE_P(Fields, CodecField,
                         ::testing::Values(CodecCase{"LIBX264", "LIBX264"}, CodecCase{"X264", "LIBX264"},
                                           CodecCase{"264", "LIBX264"}, CodecCase{"MPEG4", "MPEG4"},
                                           CodecCase{"MPEG", "MPEG4"}, CodecCase{"PEG4", "MPEG4"},
                                           CodecCase{"4", "LIBX264"}, CodecCase{"libx264", "LIBX264"},
                                           CodecCase{"mpeg4", "LIBX264"}, CodecCase{"\"\"", "LIBX264"}));

TEST(PresetNumbers, WholeNumberBeforeTheFirstUnitElseTheTextThatFailed)
{
    struct Case {
        const char* field;
        std::optional<int> number;
        const char* failedText;
    };
    const Case cases[] = {
        {"30fps", 30, ""},       {"30fpsX", 30, ""},
        {"030fps", 30, ""},      {"+5fps", 5, ""},
        {"-5fps", -5, ""},       {"fps30", {}, ""},
        {"30FPS", {}, ""},       {"29.97fps", {}, "29.97"},
        {"0x1Efps", {}, "0x1E"}, {"2147483648fps", {}, "2147483648"},
        {"３０fps", {}, "３０"}, {"\"30 fps\"", {}, "30 "},
    };
    for (const Case& c : cases) {
        const ParsedPreset preset =
            ParsePreset(QStringLiteral("A,mp4,640x480,MPEG4,%1,900kbps,AAC,8000Hz,96kbps")
                            .arg(QString::fromUtf8(c.field)));
        if (c.number) {
            EXPECT_EQ(preset.FrameRate, *c.number) << c.field;
            EXPECT_TRUE(preset.Complete()) << c.field;
        } else {
            EXPECT_EQ(preset.FailedAt, PresetStep::FrameRate) << c.field;
            EXPECT_EQ(preset.FailedText, QString::fromUtf8(c.failedText)) << c.field;
        }
    }
}

TEST(PresetChoice, HeaderRowNoneOrOutOfRangeAppliesTheFirstPreset)
{
    const PresetList presets({"A,mp4,640x480,MPEG4,20fps,900kbps,AAC,8000Hz,96kbps",
                              "B,mp4,1280x720,LIBX264,30fps,2500kbps,AAC,48000Hz,160kbps"});
    for (int chosen : {0, -1, 3, -2}) {
        ConversionSettings settings = StartValues();
        EXPECT_EQ(presets.Apply(chosen, settings).Index, 1) << chosen;
        EXPECT_EQ(settings.FrameRate, 20) << chosen;
    }
    ConversionSettings settings = StartValues();
    EXPECT_EQ(presets.Apply(2, settings).Index, 2);
    EXPECT_EQ(settings.FrameRate, 30);
}

TEST(PresetChoice, NoPresetAtAllLeavesNothingChosenSetsTheFirstCodecAndReportsEmptyText)
{
    ConversionSettings settings = StartValues();
    const PresetList::Applied applied = PresetList().Apply(0, settings);
    EXPECT_EQ(applied.Index, -1);
    EXPECT_EQ(applied.Problem, "profile.txt: '' は整数ではありません");
    EXPECT_EQ(settings.VideoCodec, "LIBX264");
    EXPECT_EQ(settings.PictureSizeIndex, 1);
    EXPECT_EQ(settings.FrameRate, 15);
}

TEST(PresetFile, ShippedPresetsAllApplyWithinTheRanges)
{
    const PresetList presets = PresetList::Read(BuiltProgramFolder() + "/profile.txt");
    ASSERT_GE(presets.Count(), 4);
    QSet<int> h264Sizes;
    bool hasMpeg4 = false;
    for (const QString& record : presets.Records()) {
        const QStringList fields = CommaTextFields(record);
        ASSERT_EQ(fields.size(), 9) << record.toStdString();
        const ParsedPreset preset = ParsePreset(record);
        ASSERT_TRUE(preset.Complete()) << record.toStdString();
        ConversionSettings settings;
        ApplyPreset(preset, settings);
        EXPECT_EQ(settings.FrameRate, preset.FrameRate) << "not clamped";
        EXPECT_EQ(settings.VideoBitRate, preset.VideoBitRate) << "not clamped";
        EXPECT_EQ(settings.AudioBitRate, preset.AudioBitRate) << "not clamped";
        EXPECT_TRUE(preset.PictureSizeIndex && preset.SampleRateIndex) << record.toStdString();
        EXPECT_EQ(settings.VideoCodec, fields[3]) << "the codec is named in full";
        if (settings.VideoCodec == "LIBX264")
            h264Sizes.insert(settings.PictureSizeIndex);
        hasMpeg4 = hasMpeg4 || settings.VideoCodec == "MPEG4";
    }
    EXPECT_EQ(h264Sizes, QSet<int>({0, 1, 2, 3})) << "an H.264 preset for every picture size";
    EXPECT_TRUE(hasMpeg4);
    EXPECT_EQ(ParsePreset(presets.Records().first()).PictureSizeIndex, 1)
        << "the first preset suits a television";
}

} // namespace
