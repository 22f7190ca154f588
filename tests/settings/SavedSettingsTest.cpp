#include "platform/IniDocument.h"
#include "settings/PresetList.h"
#include "settings/SettingsFile.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace
{

auto Tied(const SavedSettings& s)
{
    const ConversionSettings& c = s.Conversion;
    return std::tie(s.WindowPosition, s.PresetIndex, c.FrameRate, c.VideoBitRate, c.SampleRateIndex,
                    c.AudioBitRate, c.PictureSizeIndex, c.VideoCodec, c.OutputFolder, c.TwoPass,
                    s.SkipExisting);
}

} // namespace

bool operator==(const SavedSettings& a, const SavedSettings& b)
{
    return Tied(a) == Tied(b);
}

void PrintTo(const SavedSettings& s, std::ostream* out)
{
    const ConversionSettings& c = s.Conversion;
    *out << "at " << s.WindowPosition.x() << ',' << s.WindowPosition.y() << " preset " << s.PresetIndex
         << " fps " << c.FrameRate << " video " << c.VideoBitRate << " rate " << c.SampleRateIndex
         << " audio " << c.AudioBitRate << " size " << c.PictureSizeIndex << ' ' << c.VideoCodec.toStdString()
         << " folder " << c.OutputFolder.toStdString() << (c.TwoPass ? " two-pass" : " one pass")
         << (s.SkipExisting ? " skip existing" : "");
}

namespace
{

// Settings files read against the shipped presets, in a program folder of the test's own.
class SettingsFile : public ::testing::Test
{
protected:
    ProgramDir programDir;
    PresetList presets = PresetList::Read(ProgramFiles(programDir.Path()).PresetFile());

    LoadedSettings Load(const QByteArray& ini) const
    {
        return LoadSettings(IniDocument(ini), presets, programDir.Path());
    }

    // A first run: the start position, preset 1 applied, the program folder, one pass.
    SavedSettings FirstRun() const
    {
        SavedSettings settings;
        settings.PresetIndex = 1;
        settings.Conversion = {30, 2048, 0, 128, 1, "LIBX264", false, programDir.Path()};
        return settings;
    }
};

struct LoadCase {
    const char* name;
    const char* ini;
    std::function<void(SavedSettings&)> change; // what differs from a first run
};

class Loading : public SettingsFile, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(Loading, RestoresWhatTheFileSaysAndDefaultsTheRest)
{
    SavedSettings expected = FirstRun();
    if (GetParam().change)
        GetParam().change(expected);
    const LoadedSettings loaded = Load(GetParam().ini);
    EXPECT_EQ(loaded.Settings, expected);
    EXPECT_TRUE(loaded.Problems.isEmpty()) << loaded.Problems.join('\n').toStdString();
}

const LoadCase LoadCases[] = {
    {"FirstRunWithoutAFile", "", {}},
    {"HeaderRowChoosesPreset1", "[SET1]\nC0=0\n", {}},
    {"NoSelectionChoosesPreset1", "[SET1]\nC0=-1\n", {}},
    {"IndexBeyondTheListChoosesPreset1", "[SET1]\nC0=12\n", {}},
    {"IndexBelowMinusOneChoosesPreset1", "[SET1]\nC0=-2\n", {}},
    {"Preset3ThenTheSavedFrameRate", "[SET1]\nC0=3\nC1=15\n",
     [](SavedSettings& s) {
         s.PresetIndex = 3;
         s.Conversion.PictureSizeIndex = 3;
         s.Conversion.VideoBitRate = 2500;
         s.Conversion.FrameRate = 15;
     }},
    {"FrameRateThatIsNoNumberKeepsThePresets", "[SET1]\nC0=7\nC1=abc\n",
     [](SavedSettings& s) {
         s.PresetIndex = 7;
         s.Conversion = {24, 768, 1, 96, 0, "LIBX264", false, s.Conversion.OutputFolder};
     }},
    {"SavedManualValuesOverrideThePresetButNotItsCodec", "[SET1]\nC0=9\nC1=10\nC2=1000\nC3=3\nC4=64\nC5=2\n",
     [](SavedSettings& s) {
         s.PresetIndex = 9;
         s.Conversion = {10, 1000, 3, 64, 2, "MPEG4", false, s.Conversion.OutputFolder};
     }},
    {"HexadecimalSampleRate", "[SET1]\nC3=0x2\n", [](SavedSettings& s) { s.Conversion.SampleRateIndex = 2; }},
    {"OutOfRangeValuesAreClamped", "[SET1]\nC1=60\nC2=100\nC3=9\nC4=999\nC5=-3\n",
     [](SavedSettings& s) {
         s.Conversion = {30, 512, 4, 160, 0, "LIBX264", false, s.Conversion.OutputFolder};
     }},
    {"EmptyFolderBecomesTheProgramFolder", "[SET2]\nC11=\n", {}},
    {"FolderLosesItsTrailingSeparator", "[SET2]\nC11=/out/\n",
     [](SavedSettings& s) { s.Conversion.OutputFolder = "/out"; }},
    {"QuotedFolderWithBlanks", "[SET2]\nC11=\"/videos/my out\"\n",
     [](SavedSettings& s) { s.Conversion.OutputFolder = "/videos/my out"; }},
    {"FolderWithJapaneseName", "[SET2]\nC11=/ビデオ/変換済み\n",
     [](SavedSettings& s) { s.Conversion.OutputFolder = "/ビデオ/変換済み"; }},
    {"TwoPassOnForAnyValueButZero", "[SET2]\nC12=5\n", [](SavedSettings& s) { s.Conversion.TwoPass = true; }},
    {"TwoPassThatIsNoNumberStaysOff", "[SET2]\nC12=yes\n", {}},
    {"SkippingExistingOutputsIsKept", "[SET2]\nSKIP_EXISTING=1\n",
     [](SavedSettings& s) { s.SkipExisting = true; }},
    {"PositionKeptAsSaved", "[SET]\nM_LEFT=-3000\nM_TOP=0x7FFFFFFF\n",
     [](SavedSettings& s) {
         s.WindowPosition = {-3000, INT_MAX};
     }},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, Loading, ::testing::ValuesIn(LoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, APresetThatCannotBeAppliedIsReportedOnceAndTheSavedValuesStillArrive)
{
    presets = PresetList({"壊れた行,mp4,1280x720,LIBX264,速いfps,4000kbps,AAC,48000Hz,160kbps"});
    const LoadedSettings loaded =
        Load("[SET]\nM_LEFT=100\nM_TOP=150\n[SET1]\nC0=1\nC2=3000\n[SET2]\nC11=/out\nC12=1\n");
    EXPECT_EQ(loaded.Problems, QStringList{"profile.txt 1 行目: '速い' は整数ではありません"});
    EXPECT_EQ(loaded.Settings.WindowPosition, QPoint(100, 150));
    EXPECT_EQ(loaded.Settings.Conversion.PictureSizeIndex, 3) << "the fields before the bad one apply";
    EXPECT_EQ(loaded.Settings.Conversion.FrameRate, 30) << "the start value stays";
    EXPECT_EQ(loaded.Settings.Conversion.VideoBitRate, 3000);
    EXPECT_EQ(loaded.Settings.Conversion.OutputFolder, "/out");
    EXPECT_TRUE(loaded.Settings.Conversion.TwoPass);
}

TEST_F(SettingsFile, FirstRunWritesAllTenKeysInTheirLayout)
{
    WriteSettingsFile(programDir.Path(), FirstRun());
    EXPECT_EQ(ReadBytes(ProgramFiles(programDir.Path()).SettingsFile()),
              "[SET]\nM_LEFT=20\nM_TOP=20\n"
              "[SET1]\nC0=1\nC1=30\nC2=2048\nC3=0\nC4=128\nC5=1\n"
              "[SET2]\nC11=" +
                  programDir.Path().toUtf8() + "\nC12=0\n");
}

TEST_F(SettingsFile, EverySettingSurvivesARoundTripAndOtherContentStays)
{
    const QString path = programDir.Write(SettingsFileName, "; notes\n[OTHER]\nkeep=1\n[SET2]\nC12=5\n");
    SavedSettings changed;
    changed.WindowPosition = {130, 90};
    changed.PresetIndex = 10;
    changed.Conversion = {12, 3333, 3, 48, 0, "MPEG4", true, "/動画/出力"};
    WriteSettingsFile(programDir.Path(), changed);

    EXPECT_EQ(ReadSettingsFile(programDir.Path(), presets).Settings, changed);
    const QByteArray written = ReadBytes(path);
    EXPECT_TRUE(written.startsWith("; notes\n[OTHER]\nkeep=1\n[SET2]\nC12=1\n")) << written.toStdString();
}

} // namespace
