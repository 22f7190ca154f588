#include "app/MainWindow1.h"
#include "controls/BrowseEdit.h"
#include "controls/FadeButton.h"
#include "platform/StockControls.h"
#include "tests/support/TempDir.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace
{

class InputArea : public ::testing::Test
{
protected:
    ProgramDir programDir;
    TempDir media;

    // Drops `paths` as a file manager does: a text/uri-list, in the given order, on `target`.
    static void drop(QWidget* target, const QStringList& paths)
    {
        QByteArray uriList;
        for (const QString& path : paths)
            uriList += QUrl::fromLocalFile(path).toEncoded() + "\r\n";
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), uriList);
        const QPointF where(target->width() / 2.0, target->height() / 2.0);
        QDragEnterEvent enter(where.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target->window(), &enter);
        QDropEvent dropped(where, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target->window(), &dropped);
    }

    static bool startable(const TMainForm1& form)
    {
        return form.Button10->Enabled() && form.Button11->Enabled() && form.Panel11->isHidden();
    }
};

TEST_F(InputArea, DroppedFilesAndFoldersFillTheSortedListAndWakeTheStartButtons)
{
    TMainForm1 form(programDir.Path(), {});
    const QString b = media.Write(QStringLiteral("B.avi"));
    const QString a = media.Write(QStringLiteral("a.mpg"));
    const QString c = media.Write(QStringLiteral("C.wmv"));
    const QString one = media.Write(QStringLiteral("m/one.avi"));
    const QString two = media.Write(QStringLiteral("m/sub/two.avi"));
    EXPECT_FALSE(startable(form));

    drop(&form, {b, a, c, media.File(QStringLiteral("m")), media.File(QStringLiteral("missing.avi"))});

    EXPECT_EQ(form.InputFiles(), QStringList({a, b, c, one, two}));
    EXPECT_TRUE(startable(form));
    EXPECT_EQ(form.ListBox1->model()->rowCount(), 5);
}

TEST_F(InputArea, DroppingOnTheOutputFieldAlsoAddsToTheList)
{
    TMainForm1 form(programDir.Path(), {});
    const QString a = media.Write(QStringLiteral("a.avi"));
    drop(form.C1_03->Edit(), {a});
    EXPECT_EQ(form.InputFiles(), QStringList{a});
    EXPECT_TRUE(form.C1_03->Path().isEmpty());
}

TEST_F(InputArea, AnEmptyFolderLeavesTheListEmptyAndDelClearsIt)
{
    TMainForm1 form(programDir.Path(), {});
    drop(&form, {media.MakeDir(QStringLiteral("empty"))});
    EXPECT_FALSE(startable(form));
    EXPECT_FALSE(form.Panel11->isHidden());

    drop(&form, {media.Write(QStringLiteral("x.avi")), media.File(QStringLiteral("x.avi"))});
    EXPECT_EQ(form.InputFiles().size(), 2); // the same file twice is converted twice
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    EXPECT_TRUE(form.InputFiles().isEmpty());
    EXPECT_FALSE(startable(form));
    EXPECT_FALSE(form.Panel11->isHidden());
}

TEST_F(InputArea, CommandLinePathsArriveOnceAtFirstActivation)
{
    const QString a = media.Write(QStringLiteral("a.avi"));
    const QString inFolder = media.Write(QStringLiteral("f/b.avi"));
    TMainForm1 form(programDir.Path(),
                    {a, media.File(QStringLiteral("missing")), media.File(QStringLiteral("f/"))});
    EXPECT_TRUE(form.InputFiles().isEmpty());

    form.FormActivate(&form);
    form.FormActivate(&form); // a later activation adds nothing

    EXPECT_EQ(form.InputFiles(), QStringList({a, inFolder}));
    EXPECT_EQ(form.Tag, 1);
}

} // namespace
