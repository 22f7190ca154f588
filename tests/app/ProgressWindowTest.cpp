#include "app/ProgressWindow1.h"
#include "controls/FadeButton.h"
#include "controls/GradientProgressBar.h"
#include "conversion/SizeCaption.h"
#include "platform/StockControls.h"
#include "tests/support/Ink.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

TEST(SizeCaption, KilobytesOfAThousandTruncatedMissingAsZero)
{
    EXPECT_EQ(SizeCaption(1999, 999), "1KB -> 0KB");
    EXPECT_EQ(SizeCaption(-1, -1), "0KB -> 0KB");
    // Files of 2 GB and more show their true size.
    EXPECT_EQ(SizeCaption(5'000'000'000LL, 2'147'483'648LL), "5000000KB -> 2147483KB");
}

class ProgressWindow : public ::testing::Test
{
protected:
    int cancels = 0;
    bool encoderRunning = false;
    TProgressForm1 form{nullptr, [this] {
                            ++cancels;
                            return encoderRunning;
                        }};
};

TEST_F(ProgressWindow, SmallBorderlessAlwaysOnTopWindow)
{
    EXPECT_EQ(form.size(), QSize(401, 72));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.Label1->text(), "***.*** -> ***.***");
    EXPECT_EQ(form.Label2->text(), "0KB -> 0KB");
    EXPECT_EQ(form.ProgressBar1->Max(), 10);
    EXPECT_EQ(form.Image1->geometry(), QRect(6, 6, 80, 60));
}

TEST_F(ProgressWindow, ShowsTheSizesItIsToldAndOnceKnownTheTimeLeft)
{
    form.ShowSizes(1999, -1); // no output yet
    EXPECT_EQ(form.Label2->text(), "1KB -> 0KB  残り --:--");
    form.ShowProgress(RunProgress{{}, 1, 0.5, 83});
    form.ShowSizes(1999, 25000);
    EXPECT_EQ(form.Label2->text(), "1KB -> 25KB  残り 1:23");
}

TEST_F(ProgressWindow, APictureThatCannotBeDecodedIsLeftOut)
{
    form.ShowThumbnail("not a picture");
    EXPECT_TRUE(form.Image1->pixmap().isNull());
}

TEST_F(ProgressWindow, LongNamesStayClearOfTheButtonAndUnderscoresShow)
{
    const QString source = QString(60, u'a') + QStringLiteral("_end.avi");
    const QString caption = QStringLiteral("IMG_start_") + source + QStringLiteral(" -> ") + source + ".mp4";
    form.SetCaption(caption);
    const QString shown = form.Label1->text();
    EXPECT_TRUE(shown.startsWith("IMG_start_") && shown.endsWith("_end.avi.mp4") && shown.contains(u'…'))
        << shown.toStdString();
    const QRect button(form.Button1->mapTo(&form, QPoint(0, 0)), form.Button1->size());
    EXPECT_LE(form.Label1->x() + form.Label1->fontMetrics().horizontalAdvance(shown), button.left());
    EXPECT_LE(form.Label1->geometry().bottom(), form.Label2->geometry().top());
    EXPECT_LE(form.Label2->geometry().bottom(), form.ProgressBar1->geometry().top());

    // An underscore is drawn: the line is not cut off below by the one under it.
    auto picture = [this](const QString& caption) {
        form.SetCaption(caption);
        return form.grab().toImage();
    };
    EXPECT_NE(picture("IMG_0001 -> IMG_0001.mp4"), picture("IMG 0001 -> IMG 0001.mp4"));
}

TEST_F(ProgressWindow, EscapeDoesWhatTheCancelButtonDoes)
{
    MessageRecorder messages;
    encoderRunning = true;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(cancels, 1);
}

TEST_F(ProgressWindow, CancelWithNoEncoderToEndSaysSoAndOtherwiseIsQuiet)
{
    MessageRecorder messages;
    form.Button1Click(form.Button1);
    EXPECT_EQ(messages.Shown, QStringList{"変換を中止できませんでした。"});

    encoderRunning = true;
    form.Button1Click(form.Button1);
    EXPECT_EQ(messages.Shown.size(), 1);
    EXPECT_EQ(cancels, 2);
}

TEST_F(ProgressWindow, DraggedByItsSurfaceButNotByTheBarOrTheButton)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto drag = [this](QPoint from) {
        const QPoint start = form.pos();
        QWidget* target = form.childAt(from) ? form.childAt(from) : &form;
        const QPoint local = target->mapFrom(&form, from);
        QTest::mousePress(target, Qt::LeftButton, {}, local);
        QMouseEvent move(QEvent::MouseMove, QPointF(local + QPoint(10, 5)),
                         target->mapToGlobal(QPointF(local + QPoint(10, 5))), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(&form, &move);
        QTest::mouseRelease(target, Qt::LeftButton, {}, local + QPoint(10, 5));
        return form.pos() - start;
    };
    EXPECT_EQ(drag(QPoint(40, 30)), QPoint(10, 5));  // the thumbnail
    EXPECT_EQ(drag(QPoint(100, 24)), QPoint(10, 5)); // the file-pair label
    EXPECT_EQ(drag(QPoint(200, 55)), QPoint(0, 0));  // the progress bar
    EXPECT_EQ(drag(QPoint(386, 14)), QPoint(0, 0));  // the cancel button
}

TEST_F(ProgressWindow, LabelsInTheProgramFontBarAGreyGradientWithCentredPercentage)
{
    for (const TLabel* label : {form.Label1, form.Label2})
        EXPECT_EQ(QFontInfo(label->font()).family(), "IPAPGothic");

    form.SetBarMax(4);
    form.ShowProgress(RunProgress{{}, 4, 0.25, {}}); // the start of file 2 of 4
    GradientProgressBar& bar = *form.ProgressBar1;
    const QImage withText = bar.grab().toImage();
    for (int x = 2; x <= 75; ++x) {
        const int grey = 128 + 127 * (x - 2) / 296; // #808080 up to #9F9F9F
        for (int y = 2; y <= 12; ++y)
            ASSERT_EQ(withText.pixelColor(x, y), QColor(grey, grey, grey)) << x << "," << y;
    }
    EXPECT_EQ(withText.pixelColor(76, 7), Qt::black);

    bar.SetShowText(false);
    const QRect ink = InkBox(withText, bar.grab().toImage());
    EXPECT_NEAR(ink.center().x(), bar.width() / 2, 2);
    EXPECT_NEAR(ink.center().y(), bar.height() / 2, 2);
    EXPECT_LE(ink.width(), QFontMetrics(bar.font()).horizontalAdvance("25 %"));
}
