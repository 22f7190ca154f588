#include "settings/SettingsFile.h"

#include "app/MainWindow1.h"
#include "controls/BrowseEdit.h"
#include "controls/DigitBar.h"
#include "controls/MCCBox.h"
#include "platform/IniFile.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSlider>
#include <QTest>
#include <climits>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>
#include <tuple>

void PrintTo(const QPoint& point, std::ostream* out)
{
    *out << point.x() << ',' << point.y();
}

namespace
{

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Everything the settings file restores, as the window shows it.
struct Restored {
    QPoint position;
    int preset;
    int frameRate;
    int videoBitRate;
    int sampleRate;
    int audioBitRate;
    int pictureSize;
    QString codec;
    QString folder;
    QString folderHint;
    bool twoPass;

    auto Tied() const
    {
        return std::tie(position, preset, frameRate, videoBitRate, sampleRate, audioBitRate, pictureSize,
                        codec, folder, folderHint, twoPass);
    }
    bool operator==(const Restored& other) const { return Tied() == other.Tied(); }
};

void PrintTo(const Restored& r, std::ostream* out)
{
    *out << "at " << r.position.x() << ',' << r.position.y() << " preset " << r.preset << " fps "
         << r.frameRate << " video " << r.videoBitRate << " rate " << r.sampleRate << " audio "
         << r.audioBitRate << " size " << r.pictureSize << ' ' << r.codec.toStdString() << " folder "
         << r.folder.toStdString() << " hint " << r.folderHint.toStdString()
         << (r.twoPass ? " two-pass" : " one pass");
}

Restored RestoredIn(const TMainForm1& form)
{
    return {form.pos(),
            form.C2_00->ItemIndex(),
            form.DigitBar1->Position(),
            form.DigitBar2->Position(),
            form.TrackBar1->value(),
            form.DigitBar3->Position(),
            form.TrackBar2->value(),
            form.C2_04->SelectedText(),
            form.C1_03->Path(),
            form.C1_03->toolTip(),
            form.CheckBox1->isChecked()};
}

class SettingsFile : public ::testing::Test
{
protected:
    QString IniPath() const { return programDir.File(SettingsFileName); }
    void WriteIni(const QByteArray& text) const { programDir.Write(SettingsFileName, text); }

    // A window on the program folder after its first activation, as when the program starts.
    std::unique_ptr<TMainForm1> Start(const QStringList& arguments = {}) const
    {
        auto form = std::make_unique<TMainForm1>(programDir.Path(), arguments);
        form->FormActivate(form.get());
        return form;
    }

    // A first run: the start position, preset 1 applied, the program folder, one pass.
    Restored FirstRun() const
    {
        return {{20, 20}, 1, 30, 2048, 0, 128, 1, "LIBX264", programDir.Path(), programDir.Path(), false};
    }

    MessageRecorder messages;
    ProgramDir programDir;
};

struct LoadCase {
    const char* name;
    const char* ini;                       // nullptr: no settings file
    std::function<void(Restored&)> change; // what differs from a first run
};

class Loading : public SettingsFile, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(Loading, RestoresWhatTheFileSaysAndDefaultsTheRest)
{
    if (GetParam().ini)
        WriteIni(GetParam().ini);
    Restored expected = FirstRun();
    if (GetParam().change)
        GetParam().change(expected);

    const auto form = Start();

    EXPECT_EQ(RestoredIn(*form), expected);
    EXPECT_EQ(form->Tag, 1);
    EXPECT_TRUE(messages.Shown.isEmpty()) << messages.Shown.join('\n').toStdString();
}

const LoadCase LoadCases[] = {
    {"FirstRunWithoutAFile", nullptr, {}},
    {"HeaderRowChoosesPreset1", "[SET1]\nC0=0\n", {}},
    {"NoSelectionChoosesPreset1", "[SET1]\nC0=-1\n", {}},
    {"IndexBeyondTheListChoosesPreset1", "[SET1]\nC0=12\n", {}},
    {"IndexBelowMinusOneChoosesPreset1", "[SET1]\nC0=-2\n", {}},
    {"Preset3ThenTheSavedFrameRate", "[SET1]\nC0=3\nC1=15\n",
     [](Restored& r) {
         r.preset = 3;
         r.pictureSize = 3;
         r.videoBitRate = 2500;
         r.frameRate = 15;
     }},
    {"FrameRateThatIsNoNumberKeepsThePresets", "[SET1]\nC0=7\nC1=abc\n",
     [](Restored& r) {
         r.preset = 7;
         r.pictureSize = 0;
         r.frameRate = 24;
         r.videoBitRate = 768;
         r.sampleRate = 1;
         r.audioBitRate = 96;
     }},
    {"SavedManualValuesOverrideThePresetButNotItsCodec", "[SET1]\nC0=9\nC1=10\nC2=1000\nC3=3\nC4=64\nC5=2\n",
     [](Restored& r) {
         r.preset = 9;
         r.codec = "MPEG4";
         r.frameRate = 10;
         r.videoBitRate = 1000;
         r.sampleRate = 3;
         r.audioBitRate = 64;
         r.pictureSize = 2;
     }},
    {"HexadecimalSampleRate", "[SET1]\nC3=0x2\n", [](Restored& r) { r.sampleRate = 2; }},
    {"OutOfRangeValuesAreClamped", "[SET1]\nC1=60\nC2=100\nC3=9\nC4=999\nC5=-3\n",
     [](Restored& r) {
         r.frameRate = 30;
         r.videoBitRate = 512;
         r.sampleRate = 4;
         r.audioBitRate = 160;
         r.pictureSize = 0;
     }},
    {"EmptyFolderBecomesTheProgramFolder", "[SET2]\nC11=\n", {}},
    {"FolderLosesItsTrailingSeparator", "[SET2]\nC11=/out/\n",
     [](Restored& r) { r.folder = r.folderHint = "/out"; }},
    {"FolderWithJapaneseName", "[SET2]\nC11=/ビデオ/変換済み\n",
     [](Restored& r) { r.folder = r.folderHint = "/ビデオ/変換済み"; }},
    {"TwoPassOnForAnyValueButZero", "[SET2]\nC12=5\n", [](Restored& r) { r.twoPass = true; }},
    {"TwoPassThatIsNoNumberStaysOff", "[SET2]\nC12=yes\n", {}},
    {"PositionOnTheScreenIsKept", "[SET]\nM_LEFT=100\nM_TOP=150\n",
     [](Restored& r) {
         r.position = {100, 150};
     }},
    {"PositionOnADetachedScreenGoesToTheStart", "[SET]\nM_LEFT=3000\nM_TOP=100\n", {}},
    {"PositionAtTheIntegerLimitGoesToTheStart", "[SET]\nM_LEFT=2147483647\nM_TOP=0x7FFFFFFF\n", {}},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, Loading, ::testing::ValuesIn(LoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, FirstRunWritesAllTenKeysOnClose)
{
    const auto form = Start();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(ReadBytes(IniPath()), "[SET]\nM_LEFT=20\nM_TOP=20\n"
                                    "[SET1]\nC0=1\nC1=30\nC2=2048\nC3=0\nC4=128\nC5=1\n"
                                    "[SET2]\nC11=" +
                                        programDir.Path().toUtf8() + "\nC12=0\n");
}

TEST_F(SettingsFile, EverySettingSurvivesARestart)
{
    WriteIni("; notes\n[OTHER]\nkeep=1\n");
    const auto first = Start();
    first->move(130, 90);
    first->C2_00->SetItemIndex(10);
    first->C2_00Change(first->C2_00);
    first->DigitBar1->SetPosition(12);
    first->DigitBar2->SetPosition(3333);
    first->TrackBar1->setValue(3);
    first->DigitBar3->SetPosition(48);
    first->TrackBar2->setValue(0);
    first->C1_03->SetPath(QStringLiteral("/動画/出力"));
    first->CheckBox1->setChecked(true);
    const Restored changed = RestoredIn(*first);
    ASSERT_EQ(changed.codec, "MPEG4"); // comes back through the preset
    first->close();

    EXPECT_EQ(RestoredIn(*Start()), changed);
    EXPECT_TRUE(ReadBytes(IniPath()).startsWith("; notes\n[OTHER]\nkeep=1\n"));
    EXPECT_TRUE(messages.Shown.isEmpty());
}

TEST_F(SettingsFile, TwoPassSavedAsFiveIsWrittenBackAsOne)
{
    WriteIni("[SET2]\nC12=5\n");
    Start()->close();
    EXPECT_EQ(TIniFile(IniPath()).ReadString("SET2", "C12", ""), "1");
}

TEST_F(SettingsFile, ShowingTheWindowLoadsOnceAndLaterActivationsKeepTheControls)
{
    WriteIni("[SET1]\nC1=15\n");
    TMainForm1 form(programDir.Path(), {});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.Tag, 1);
    EXPECT_EQ(form.DigitBar1->Position(), 15);

    form.DigitBar1->SetPosition(8);
    form.FormActivate(&form);
    EXPECT_EQ(form.DigitBar1->Position(), 8);
}

TEST_F(SettingsFile, DryRunWritesNoSettings)
{
    const auto form = Start();
    form->DryRun = true;
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(QFileInfo::exists(IniPath()));
}

TEST_F(SettingsFile, WindowClosedBeforeItsFirstActivationKeepsTheSavedSettings)
{
    const QByteArray saved("[SET1]\nC0=4\n[SET2]\nC11=/out\n");
    WriteIni(saved);
    TMainForm1 form(programDir.Path(), {});
    EXPECT_TRUE(form.close());
    EXPECT_EQ(ReadBytes(IniPath()), saved);
}

TEST_F(SettingsFile, UnwritableFileIsReportedOnceAndTheWindowClosesAnyway)
{
    // Root writes into read-only folders; nobody writes a file where a folder stands.
    programDir.MakeDir(SettingsFileName);
    const auto form = Start();
    EXPECT_EQ(RestoredIn(*form), FirstRun());
    form->show();

    EXPECT_TRUE(form->close());

    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(messages.Shown, QStringList{IniPath() + " に書き込めません"});
    EXPECT_TRUE(QFileInfo(IniPath()).isDir());
}

// Lets files grow to a few bytes only, as on a full disk, for as long as it lives.
class FullDisk
{
public:
    FullDisk() : m_previousSignal(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        const rlimit tiny{FullDiskBytes, m_previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousSignal);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    static constexpr rlim_t FullDiskBytes = 16;
    rlimit m_previous{};
    void (*m_previousSignal)(int);
};

TEST_F(SettingsFile, SaveCutShortLeavesTheOldFileAndTheWindowCloses)
{
    const QByteArray old("[SET]\nM_LEFT=100\nM_TOP=150\n[SET1]\nC0=3\n");
    WriteIni(old);
    const auto form = Start();
    form->DigitBar1->SetPosition(5);
    {
        const FullDisk full;
        EXPECT_TRUE(form->close());
    }
    EXPECT_EQ(ReadBytes(IniPath()), old);
    EXPECT_EQ(QDir(programDir.Path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({SettingsFileName, "profile.txt"}));
    EXPECT_EQ(messages.Shown, QStringList{IniPath() + " に書き込めません"});
}

struct BrokenPresetCase {
    const char* name;
    const char* profile;
    const char* message;
};

class BrokenPreset : public SettingsFile, public ::testing::WithParamInterface<BrokenPresetCase>
{
};

TEST_P(BrokenPreset, IsReportedOnceAndTheRestStillArrives)
{
    programDir.Write(QStringLiteral("profile.txt"), GetParam().profile);
    WriteIni("[SET]\nM_LEFT=100\nM_TOP=150\n[SET1]\nC0=2\nC1=12\nC2=3000\n[SET2]\nC11=/out\nC12=1\n");
    const QString clip = programDir.Write(QStringLiteral("clips/a.avi"));

    const auto form = Start({clip});
    form->FormActivate(form.get()); // a later activation tries nothing again

    EXPECT_EQ(messages.Shown, QStringList{QString::fromUtf8(GetParam().message)});
    EXPECT_EQ(form->Tag, 1);
    EXPECT_EQ(form->pos(), QPoint(100, 150));
    EXPECT_EQ(form->DigitBar1->Position(), 12);
    EXPECT_EQ(form->DigitBar2->Position(), 3000);
    EXPECT_EQ(form->C1_03->Path(), "/out");
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_EQ(form->InputFiles(), QStringList{clip});
}

const BrokenPresetCase BrokenPresetCases[] = {
    {"MalformedLine",
     "標準,mp4,720x480,LIBX264,30fps,2048kbps,AAC,48000Hz,128kbps\n"
     "壊れた行,mp4,1280x720,LIBX264,速いfps,4000kbps,AAC,48000Hz,160kbps\n",
     "'速い' は整数ではありません"},
    {"NoPresetAtAll", "", "'' は整数ではありません"},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, BrokenPreset, ::testing::ValuesIn(BrokenPresetCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PlacementCase {
    const char* name;
    QPoint saved;
    QList<QRect> screens;
    QPoint placed;
};

class Placement : public ::testing::TestWithParam<PlacementCase>
{
};

TEST_P(Placement, KeepsAPositionWhoseTitleStripSomeScreenShows)
{
    EXPECT_EQ(PlaceOnScreens(GetParam().saved, {400, 25}, GetParam().screens), GetParam().placed);
}

const QRect Primary(0, 0, 1920, 1080);
const QRect RightOfPrimary(1920, 0, 1280, 720);
const QRect LeftOfPrimary(-1280, 200, 1280, 1024);
constexpr QPoint StartPosition(20, 20);

const PlacementCase PlacementCases[] = {
    {"OnThePrimaryScreen", {300, 200}, {Primary}, {300, 200}},
    {"OnAnAttachedSecondScreen", {2500, 100}, {Primary, RightOfPrimary}, {2500, 100}},
    {"OnASecondScreenThatIsGone", {2500, 100}, {Primary}, StartPosition},
    {"StripPartlyPastTheRightEdge", {1900, 100}, {Primary}, {1900, 100}},
    {"LastStripColumnOnTheScreen", {-399, 100}, {Primary}, {-399, 100}},
    {"StripJustLeftOfTheScreen", {-400, 100}, {Primary}, StartPosition},
    {"LastStripRowOnTheScreen", {100, -24}, {Primary}, {100, -24}},
    {"StripJustAboveTheScreen", {100, -25}, {Primary}, StartPosition},
    {"InTheGapBelowAShorterSecondScreen", {2500, 800}, {Primary, RightOfPrimary}, StartPosition},
    {"OnAScreenAtNegativeCoordinates", {-1000, 300}, {Primary, LeftOfPrimary}, {-1000, 300}},
    {"AboveAScreenAtNegativeCoordinates", {-1000, 100}, {Primary, LeftOfPrimary}, StartPosition},
    {"AtTheIntegerLimit", {INT_MAX, INT_MAX}, {Primary}, StartPosition},
    {"JustBelowTheIntegerLimit", {INT_MAX - 100, 100}, {Primary}, StartPosition},
    {"AtTheNegativeIntegerLimit", {INT_MIN, INT_MIN}, {Primary}, StartPosition},
    {"NoScreenAtAll", {300, 200}, {}, StartPosition},
};

INSTANTIATE_TEST_SUITE_P(SettingsFile, Placement, ::testing::ValuesIn(PlacementCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
