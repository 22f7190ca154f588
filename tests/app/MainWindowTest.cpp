#include "app/InfoPage.h"
#include "app/MainWindow1.h"
#include "controls/BrowseEdit.h"
#include "controls/DigitBar.h"
#include "controls/FadeButton.h"
#include "controls/MCCBox.h"
#include "platform/StockControls.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextHeightFont.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace
{

// Receives what the window asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    UrlRecorder()
    {
        for (const char* scheme : {"file", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "record");
    }
    ~UrlRecorder() override
    {
        for (const char* scheme : {"file", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;
public slots:
    void record(const QUrl& url) { opened << url; }
};

class MainWindow : public ::testing::Test
{
protected:
    ProgramDir programDir;
    TMainForm1 form{programDir.Path(), {}};
};

TEST_F(MainWindow, BorderlessFixedClientAreaAtItsPlace)
{
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.size(), QSize(400, 570));
    EXPECT_EQ(form.pos(), QPoint(20, 20));
    EXPECT_EQ(form.windowTitle(), "Korumi");
}

TEST_F(MainWindow, ControlsStartAtTheirDefaults)
{
    EXPECT_EQ(form.DigitBar1->Min(), 1);
    EXPECT_EQ(form.DigitBar1->Max(), 30);
    EXPECT_EQ(form.DigitBar1->Position(), 30);
    EXPECT_EQ(form.DigitBar2->Min(), 512);
    EXPECT_EQ(form.DigitBar2->Max(), 5000);
    EXPECT_EQ(form.DigitBar2->Position(), 2048);
    EXPECT_EQ(form.DigitBar3->Min(), 16);
    EXPECT_EQ(form.DigitBar3->Max(), 160);
    EXPECT_EQ(form.DigitBar3->Position(), 128);
    EXPECT_EQ(form.TrackBar1->maximum(), 4);
    EXPECT_EQ(form.TrackBar1->value(), 1);
    EXPECT_EQ(form.TrackBar2->maximum(), 3);
    EXPECT_EQ(form.TrackBar2->value(), 1);
    EXPECT_FALSE(form.CheckBox1->isChecked());
    EXPECT_FALSE(form.Button10->Enabled());
    EXPECT_FALSE(form.Button11->Enabled());
    EXPECT_EQ(form.Button10->Caption(), "[ 変換開始 ]");
    EXPECT_EQ(form.Button11->Caption(), "[ 変換後 iTunes登録 ]");
    EXPECT_EQ(form.Tag, 0);
}

TEST_F(MainWindow, ControlsSitAtTheirPlaces)
{
    auto windowRect = [this](QWidget* w) { return QRect(w->mapTo(&form, QPoint(0, 0)), w->size()); };
    EXPECT_EQ(windowRect(form.Button1), QRect(374, 2, 20, 20));
    EXPECT_EQ(windowRect(form.Button4), QRect(290, 2, 40, 20));
    EXPECT_EQ(windowRect(form.ListBox1), QRect(12, 38, 374, 120));
    EXPECT_EQ(windowRect(form.Panel11), windowRect(form.ListBox1));
    EXPECT_EQ(windowRect(form.C2_00), QRect(70, 164, 286, 19));
    EXPECT_EQ(windowRect(form.DigitBar2), QRect(120, 204, 40, 160));
    EXPECT_EQ(windowRect(form.TrackBar2), QRect(80, 416, 284, 30));
    EXPECT_EQ(windowRect(form.C1_03), QRect(60, 470, 326, 19));
    EXPECT_EQ(windowRect(form.Button10), QRect(26, 514, 172, 40));
    EXPECT_EQ(windowRect(form.Button11), QRect(204, 514, 172, 40));
}

TEST_F(MainWindow, DigitBarsStepWrapAndFollowThePointer)
{
    QTest::keyClick(form.DigitBar1, Qt::Key_Up);
    EXPECT_EQ(form.DigitBar1->Position(), 1) << "up from the highest frame rate wraps";
    form.DigitBar2->setFont(FontOfTextHeight(12));
    QTest::mousePress(form.DigitBar2, Qt::LeftButton, {}, QPoint(20, 80));
    QTest::mouseRelease(form.DigitBar2, Qt::LeftButton, {}, QPoint(20, 80));
    EXPECT_EQ(form.DigitBar2->Position(), 2756);
}

TEST_F(MainWindow, SampleRateLabelsStayClearOfTheirTrackBar)
{
    int labels = 0;
    for (const QLabel* label : form.TrackBar1->parentWidget()->findChildren<TLabel*>()) {
        if (!label->text().endsWith(QStringLiteral("Hz")))
            continue;
        ++labels;
        EXPECT_LT(label->geometry().right(), form.TrackBar1->x()) << label->text().toStdString();
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width()) << "whole";
        EXPECT_EQ(label->font(), form.font());
    }
    EXPECT_EQ(labels, 5);
}

TEST_F(MainWindow, RateAndSizeCaptionsStandByTheirPositions)
{
    QMap<QString, QPoint> places;
    for (const QLabel* label : form.TrackBar1->parentWidget()->findChildren<TLabel*>())
        places[label->text()] = label->pos();
    const std::pair<const char*, int> rateTops[] = {
        {"48000Hz", 18}, {"44100Hz", 51}, {"22050Hz", 84}, {"11025Hz", 116}, {"8000Hz", 148}};
    for (const auto& [caption, top] : rateTops)
        EXPECT_EQ(places.value(caption, {-1, -1}).y(), top) << caption;
    const std::pair<const char*, QPoint> sizePlaces[] = {
        {"640x480", {55, 212}}, {"720x480", {142, 212}}, {"960x540", {229, 212}}, {"1280x720", {310, 212}}};
    for (const auto& [caption, place] : sizePlaces)
        EXPECT_EQ(places.value(caption), place) << caption;
}

TEST_F(MainWindow, OutputFolderDropsOneTrailingSeparatorAndShowsItAsHint)
{
    form.C1_03->Edit()->setText(QStringLiteral("/out/"));
    EXPECT_EQ(form.C1_03->Path(), "/out");
    EXPECT_EQ(form.C1_03->toolTip(), "/out");
    form.C1_03->SetPath(QStringLiteral("/"));
    EXPECT_EQ(form.C1_03->Path(), "/");
    EXPECT_EQ(form.C1_03->toolTip(), "/");
}

TEST_F(MainWindow, TypedOutputFolderStaysAsTypedUntilFinishedAndIsSavedExactly)
{
    programDir.Write(QStringLiteral("Korumi.ini"), "[SET2]\nC11=/saved/\n");
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.C1_03->Path(), "/saved") << "a loaded folder loses its trailing separator";

    QLineEdit* edit = form.C1_03->Edit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("/tmp/videos/out/"));
    EXPECT_EQ(form.C1_03->Path(), "/tmp/videos/out/");
    EXPECT_EQ(form.C1_03->toolTip(), "/tmp/videos/out/");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(form.C1_03->Path(), "/tmp/videos/out");
    EXPECT_EQ(form.C1_03->toolTip(), "/tmp/videos/out");

    form.close();
    QFile ini(programDir.File(QStringLiteral("Korumi.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().split('\n').contains("C11=/tmp/videos/out"));
}

TEST_F(MainWindow, DraggingTheTitleStripMovesTheWindowButButtonsDoNot)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QPoint start = form.pos();
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(100, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 50), form.mapToGlobal(QPointF(130, 50)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(&form, &move);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(130, 50));
    EXPECT_EQ(form.pos(), start + QPoint(30, 40));

    const QPoint before = form.pos();
    QTest::mouseClick(form.Button2, Qt::LeftButton); // minimises; must not start a drag
    EXPECT_EQ(form.pos(), before);
}

TEST_F(MainWindow, TitleButtonsOpenGuideAndInfoPageAndClose)
{
    UrlRecorder urls;
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    ASSERT_EQ(urls.opened.size(), 2);
    EXPECT_EQ(urls.opened[0], QUrl::fromLocalFile(programDir.File(QStringLiteral("Readme.txt"))));
    EXPECT_TRUE(urls.opened[1].toString().startsWith(PublisherHost + "/info.php?pf=w&sn="));

    form.show();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

TEST(InfoPage, NamesTheProgramWithoutExtension)
{
    EXPECT_EQ(InfoPageUrl(QStringLiteral("/opt/korumi/korumi")),
              "https://korumi.example/info.php?pf=w&sn=korumi");
    EXPECT_EQ(InfoPageUrl(QStringLiteral("/opt/Korumi.exe")),
              "https://korumi.example/info.php?pf=w&sn=Korumi");
}

TEST_F(MainWindow, FirstActivationRunsOnceAndTheFocusStartsInTheList)
{
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.Tag, 1);
    EXPECT_EQ(QApplication::focusWidget(), form.ListBox1);
}

} // namespace

#include "MainWindowTest.moc"
