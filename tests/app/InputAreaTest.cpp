#include "app/MainWindow1.h"
#include "controls/BrowseEdit.h"
#include "controls/FadeButton.h"
#include "platform/StockControls.h"
#include "tests/support/TempDir.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QSemaphore>
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

    // Waits until the window has taken the paths it was given.
    static void waitForPaths(const TMainForm1& form)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.TakingPaths(); }, 60000));
    }

    // Drops `paths` as a file manager does: a text/uri-list, in the given order, on `target`, and
    // waits until they are taken unless told not to.
    static void drop(QWidget* target, const QStringList& paths, bool wait = true)
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
        if (wait)
            waitForPaths(*static_cast<const TMainForm1*>(target->window()));
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

TEST_F(InputArea, ASearchShowsItsCountInTheDropPanelAndEscapeStopsIt)
{
    TMainForm1 form(programDir.Path(), {});
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    waitForPaths(form);
    media.Write(QStringLiteral("m/1.avi"));
    media.Write(QStringLiteral("m/2.avi"));
    // The search holds at its first find until the test lets it go on.
    QSemaphore found;
    QSemaphore goOn;
    const TFindFileEvent take = form.Inputs.SearchFile1.OnFind;
    const TFindFileEvent holdAtEachFind = [&](TSearchFile* sender, const QString& name,
                                              const TSearchFileData& data, bool& go) {
        take(sender, name, data, go);
        found.release();
        goOn.acquire();
    };
    form.Inputs.SearchFile1.OnFind = holdAtEachFind;

    drop(&form, {media.File(QStringLiteral("m"))}, /*wait=*/false);
    found.acquire();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Label11->text().contains(QStringLiteral("検索中 1 件")); }))
        << form.Label11->text().toStdString();
    EXPECT_TRUE(form.Panel11->isVisible());
    EXPECT_FALSE(form.Button10->Enabled());
    // A second drop waits for the first; Escape stops both.
    drop(&form, {media.File(QStringLiteral("m"))}, /*wait=*/false);
    QTest::keyClick(&form, Qt::Key_Escape);
    goOn.release(2);
    waitForPaths(form);

    EXPECT_TRUE(form.InputFiles().isEmpty());
    EXPECT_EQ(form.Label11->text(), QStringLiteral("[ ここにファイルをドロップ(複数可) ]"));

    // Escape at once after a drop, before its search has begun, stops it too.
    form.Inputs.SearchFile1.OnFind = take;
    drop(&form, {media.File(QStringLiteral("m"))}, /*wait=*/false);
    QTest::keyClick(&form, Qt::Key_Escape);
    waitForPaths(form);
    EXPECT_TRUE(form.InputFiles().isEmpty());

    // While a second drop is searched, the first one's end does not wake the start buttons.
    found.acquire(found.available()); // finds of the stopped search
    form.Inputs.SearchFile1.OnFind = holdAtEachFind;
    drop(&form, {media.File(QStringLiteral("m/1.avi"))}, /*wait=*/false);
    drop(&form, {media.File(QStringLiteral("m"))}, /*wait=*/false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return found.tryAcquire(); }, 60000)); // the second search runs
    EXPECT_EQ(form.InputFiles().size(), 1);
    EXPECT_FALSE(form.Button10->Enabled());
    goOn.release(10);
    waitForPaths(form);
    EXPECT_EQ(form.InputFiles().size(), 3);
    EXPECT_TRUE(form.Button10->Enabled());
}

TEST_F(InputArea, CommandLinePathsArriveOnceAtFirstActivation)
{
    const QString a = media.Write(QStringLiteral("a.avi"));
    const QString inFolder = media.Write(QStringLiteral("f/b.avi"));
    TMainForm1 form(programDir.Path(),
                    {a, media.File(QStringLiteral("missing")), media.File(QStringLiteral("f/"))});
    EXPECT_TRUE(form.InputFiles().isEmpty());

    form.FormActivate(&form);
    waitForPaths(form);
    form.FormActivate(&form); // a later activation adds nothing
    waitForPaths(form);

    EXPECT_EQ(form.InputFiles(), QStringList({a, inFolder}));
    EXPECT_EQ(form.Tag, 1);
}

} // namespace
