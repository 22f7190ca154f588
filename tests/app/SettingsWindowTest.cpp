#include "app/MainWindow1.h"
#include "app/ScreenPlacement.h"
#include "controls/BrowseEdit.h"
#include "controls/DigitBar.h"
#include "controls/MCCBox.h"
#include "platform/StockControls.h"
#include "settings/SettingsFile.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QSlider>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

void PrintTo(const QPoint& point, std::ostream* out)
{
    *out << point.x() << ',' << point.y();
}

namespace
{

// The main window keeping its settings in a program folder of the test's own.
class SettingsWindow : public ::testing::Test
{
protected:
    QString IniPath() const { return ProgramFiles(programDir.Path()).SettingsFile(); }
    void WriteIni(const QByteArray& text) const { programDir.Write(SettingsFileName, text); }

    // A window on the program folder after its first activation, as when the program starts.
    std::unique_ptr<TMainForm1> Start(const QStringList& arguments = {}) const
    {
        auto form = std::make_unique<TMainForm1>(programDir.Path(), arguments);
        form->FormActivate(form.get());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->TakingPaths(); }, 60000));
        return form;
    }

    MessageRecorder messages;
    ProgramDir programDir;
};

TEST_F(SettingsWindow, ValuesChosenInTheControlsComeBackAfterARestart)
{
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
    first->close();

    const auto second = Start();
    EXPECT_EQ(second->pos(), QPoint(130, 90));
    EXPECT_EQ(second->C2_00->ItemIndex(), 10);
    EXPECT_EQ(second->DigitBar1->Position(), 12);
    EXPECT_EQ(second->DigitBar2->Position(), 3333);
    EXPECT_EQ(second->TrackBar1->value(), 3);
    EXPECT_EQ(second->DigitBar3->Position(), 48);
    EXPECT_EQ(second->TrackBar2->value(), 0);
    EXPECT_EQ(second->C1_03->Path(), "/動画/出力");
    EXPECT_EQ(second->C1_03->toolTip(), "/動画/出力");
    EXPECT_TRUE(second->CheckBox1->isChecked());
    EXPECT_TRUE(messages.Shown.isEmpty());
}

TEST_F(SettingsWindow, ShowingTheWindowLoadsOnceAndLaterActivationsKeepTheControls)
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

TEST_F(SettingsWindow, WindowClosedBeforeItsFirstActivationKeepsTheSavedSettings)
{
    const QByteArray saved("[SET1]\nC0=4\n[SET2]\nC11=/out\n");
    WriteIni(saved);
    TMainForm1 form(programDir.Path(), {});
    EXPECT_TRUE(form.close());
    EXPECT_EQ(ReadBytes(IniPath()), saved);
}

TEST_F(SettingsWindow, AnUnreadableFileIsNamedAtStartAndTheWindowGoesOnWithoutWritingOverIt)
{
    programDir.MakeDir(SettingsFileName); // there, and no file can be read from it, even as root
    const auto form = Start();
    EXPECT_EQ(form->DigitBar2->Position(), ConversionSettings().VideoBitRate) << "the defaults";
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(messages.Shown.size(), 1) << "named once, at start";
    EXPECT_TRUE(messages.Shown[0].startsWith("設定ファイル " + IniPath() + " を読み込めません ("))
        << messages.Shown[0].toStdString();
    EXPECT_TRUE(QFileInfo(IniPath()).isDir());
}

TEST_F(SettingsWindow, ABrokenPresetIsReportedOnceAndTheRestStillArrives)
{
    programDir.Write(QStringLiteral("profile.txt"),
                     "壊れた行,mp4,1280x720,LIBX264,速いfps,4000kbps,AAC,48000Hz,160kbps\n");
    WriteIni("[SET]\nM_LEFT=100\nM_TOP=150\n[SET1]\nC0=1\nC2=3000\n[SET2]\nC11=/out\nC12=1\n");
    const QString clip = programDir.Write(QStringLiteral("clips/a.avi"));

    const auto form = Start({clip});
    form->FormActivate(form.get()); // a later activation tries nothing again

    EXPECT_EQ(messages.Shown, QStringList{"profile.txt 1 行目: '速い' は整数ではありません"});
    EXPECT_EQ(form->Tag, 1);
    EXPECT_EQ(form->pos(), QPoint(100, 150));
    EXPECT_EQ(form->DigitBar2->Position(), 3000);
    EXPECT_EQ(form->C1_03->Path(), "/out");
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_EQ(form->InputFiles(), QStringList{clip});
}

TEST_F(SettingsWindow, APositionNoScreenShowsGoesBackToTheStart)
{
    WriteIni("[SET]\nM_LEFT=30000\nM_TOP=100\n");
    EXPECT_EQ(Start()->pos(), QPoint(20, 20));
}

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

INSTANTIATE_TEST_SUITE_P(SettingsWindow, Placement, ::testing::ValuesIn(PlacementCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
