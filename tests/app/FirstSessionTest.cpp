// The main window as a new user first meets it: the wheel, the input list and the guide.
#include "app/MainWindow1.h"
#include "controls/DigitBar.h"
#include "controls/FadeButton.h"
#include "controls/MCCBox.h"
#include "platform/HintMachinery.h"
#include "platform/StockControls.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <QListView>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace
{

class FirstSession : public ::testing::Test
{
protected:
    ProgramDir programDir;
    TempDir media;
    TMainForm1 form{programDir.Path(), {}};

    void SetUp() override
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void take(const QStringList& paths)
    {
        form.Inputs.AddPaths(paths);
        ASSERT_EQ(form.Inputs.Count(), paths.size());
    }

    static void wheel(QWidget* widget)
    {
        const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
        QWheelEvent event(centre, widget->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }

    // How `control` looks on its panel.
    static QImage look(QWidget* control)
    {
        return control->parentWidget()->grab(control->geometry()).toImage();
    }
};

TEST_F(FirstSession, AStartWithoutPathsAsksForFilesAndSearchesNothing)
{
    EXPECT_EQ(form.Label11->text(), QStringLiteral("[ ここにファイルをドロップ(複数可) ]"));
    // Nothing of the window ticks: no search count would come to write over the caption.
    for (const QTimer* timer : form.findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(timer->isActive());
}

TEST_F(FirstSession, TheWheelPicksAPresetOnlyWhileThePresetBoxHasTheFocus)
{
    form.DigitBar1->SetPosition(28);
    form.DigitBar2->SetPosition(1200);
    const int preset = form.C2_00->ItemIndex();
    form.ListBox1->setFocus();
    wheel(form.C2_00);
    EXPECT_EQ(form.C2_00->ItemIndex(), preset);
    EXPECT_EQ(form.CurrentSettings().FrameRate, 28) << "values set by hand stay";
    EXPECT_EQ(form.CurrentSettings().VideoBitRate, 1200);

    form.C2_00->setFocus();
    wheel(form.C2_00);
    EXPECT_NE(form.C2_00->ItemIndex(), preset);
}

TEST_F(FirstSession, RowsOfLongPathsShowTheirFileNamesAndHintTheWholePath)
{
    const QString folder = QString(120, u'f') + u'/' + QString(120, u'g') + u'/';
    const QString first = media.Write(folder + QStringLiteral("IMG_0001.avi"));
    take({first, media.Write(folder + QStringLiteral("IMG_0002.avi"))});
    const QRect firstRow = form.ListBox1->visualRect(form.Inputs.Model()->index(0, 0));
    const QImage list = form.ListBox1->viewport()->grab().toImage();
    EXPECT_TRUE(list.copy(firstRow) != list.copy(firstRow.translated(0, firstRow.height())))
        << "two files of one long folder must not look alike";

    QTest::mouseMove(form.ListBox1->viewport(), firstRow.center());
    EXPECT_EQ(Hints().Hint(), first);
}

TEST_F(FirstSession, DeleteSelectsTheNextFileSoThatItCanBePressedAgain)
{
    take({media.Write("a.avi"), media.Write("b.avi"), media.Write("c.avi"), media.Write("d.avi")});
    form.ListBox1->setFocus();
    form.ListBox1->setCurrentIndex(form.Inputs.Model()->index(1, 0));
    QTest::keyClick(form.ListBox1, Qt::Key_Delete);
    QTest::keyClick(form.ListBox1, Qt::Key_Delete);
    EXPECT_EQ(form.InputFiles(), QStringList({media.File("a.avi"), media.File("d.avi")}));
    QTest::keyClick(form.ListBox1, Qt::Key_Delete); // the last file: the one before it follows
    QTest::keyClick(form.ListBox1, Qt::Key_Delete);
    EXPECT_FALSE(form.Inputs.HasFiles());
}

TEST_F(FirstSession, KeyboardFocusShowsOnTheListAndTheSizeBar)
{
    take({media.Write("a.avi")});
    for (QWidget* control : {static_cast<QWidget*>(form.ListBox1), static_cast<QWidget*>(form.TrackBar2)}) {
        form.C2_00->setFocus(Qt::TabFocusReason);
        const QImage unfocused = look(control);
        control->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(look(control) != unfocused) << control->accessibleName().toStdString();
    }
}

TEST_F(FirstSession, TheGuideIsNamedWhenNoApplicationOpensIt)
{
    MessageRecorder messages;
    // No desktop here to open documents with.
    Fire(form.Button3->OnClick, form.Button3);
    ASSERT_EQ(messages.Shown.size(), 1);
    EXPECT_TRUE(messages.Shown[0].endsWith(u'\n' + programDir.File("Readme.txt")))
        << messages.Shown[0].toStdString();
}

} // namespace
