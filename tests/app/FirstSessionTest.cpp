// The main window as a new user first meets it: the drop caption, the wheel and the input list.
#include "app/MainWindow1.h"
#include "controls/MCCBox.h"
#include "platform/HintMachinery.h"
#include "platform/StockControls.h"
#include "tests/support/TempDir.h"

#include <QItemSelectionModel>
#include <QListView>
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
};

TEST_F(FirstSession, AStartWithoutPathsAsksForFilesAndTheWheelPicksAPresetOnlyInTheFocusedBox)
{
    EXPECT_EQ(form.Label11->text(), QStringLiteral("[ ここにファイルをドロップ(複数可) ]"));
    for (const QTimer* timer : form.findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(timer->isActive()) << "no search count comes to write over the caption";

    const int preset = form.C2_00->ItemIndex();
    for (QWidget* focus : {static_cast<QWidget*>(form.ListBox1), static_cast<QWidget*>(form.C2_00)}) {
        focus->setFocus();
        QWheelEvent wheel({9, 9}, form.C2_00->mapToGlobal(QPointF(9, 9)), {}, {0, -120}, {}, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.C2_00, &wheel);
    }
    EXPECT_EQ(form.C2_00->ItemIndex(), preset + 1) << "only the box with the focus takes the wheel";
}

TEST_F(FirstSession, RowsOfOneLongFolderShowTheirNamesHintTheirPathsAndGoOneByOneWithDelete)
{
    const QString folder = QString(120, u'f') + u'/' + QString(120, u'g') + u'/';
    const QStringList files = {media.Write(folder + "IMG_1.avi"), media.Write(folder + "IMG_2.avi"),
                               media.Write(folder + "IMG_3.avi")};
    form.Inputs.AddPaths(files);
    const QRect firstRow = form.ListBox1->visualRect(form.Inputs.Model()->index(0, 0));
    const QImage rows = form.ListBox1->viewport()->grab().toImage();
    EXPECT_TRUE(rows.copy(firstRow) != rows.copy(firstRow.translated(0, firstRow.height())));
    QTest::mouseMove(form.ListBox1->viewport(), firstRow.center());
    EXPECT_EQ(Hints().Hint(), files[0]);

    form.ListBox1->setFocus();
    form.ListBox1->setCurrentIndex(form.Inputs.Model()->index(1, 0));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(form.ListBox1, Qt::Key_Delete);
    EXPECT_FALSE(form.Inputs.HasFiles()) << "Delete selects the next file, or the one before the last";
}

TEST_F(FirstSession, DeleteTakesOffEverySelectedRangeAndNothingElse)
{
    QStringList files;
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi", "e.avi"})
        files << media.Write(name);
    form.Inputs.AddPaths(files);
    const QAbstractItemModel* model = form.Inputs.Model();
    QItemSelection chosen(model->index(0, 0), model->index(0, 0));
    chosen.select(model->index(2, 0), model->index(3, 0));
    form.ListBox1->setFocus();
    form.ListBox1->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(form.ListBox1, Qt::Key_Delete);
    EXPECT_EQ(form.InputFiles(), (QStringList{files[1], files[4]}));
}

} // namespace
