#include "app/MainWindow1.h"
#include "controls/BrowseEdit.h"
#include "controls/FadeButton.h"
#include "conversion/BatchResult.h"
#include "tests/support/Media.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <QCloseEvent>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

// An encoder that writes its target, fails for a source named "broken" and finds one named
// "damaged" so. The run it is part of cannot end before the test looks at the windows: the click
// returns before any event is handled.
const char* Encoder =
    "#!/bin/sh\nfor last in \"$@\"; do :; done\n[ \"$3\" = -f ] && exit 0\n"
    "printf x > \"$last\"\ncase \"$2\" in *broken*) exit 3;;\n"
    "*damaged*) for i in 1 2 3; do echo 'Error while decoding stream #0:0: Invalid data' >&2; done;; esac\n";

class RunFromWindow : public ::testing::Test
{
protected:
    ProgramDir programDir;
    TempDir media;
    MessageRecorder messages;
    TMainForm1 form{programDir.Path(), {}};

    void SetUp() override
    {
        const QString encoder = programDir.Write("ffmpeg.exe", Encoder);
        QFile::setPermissions(encoder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        form.FormActivate(&form);
        form.Inputs.AddPath(media.Write("a.avi", "a"));
    }

    // The settings are usable again once the run has ended.
    bool waitForEnd()
    {
        return QTest::qWaitFor([this] { return form.C1_03->isEnabled(); }, 30000);
    }
};

TEST_F(RunFromWindow, ARunLocksTheSettingsWhileTheTitleStripAndTheProgressWindowStayUsable)
{
    form.C1_03->SetPath(media.File("out"));
    QTest::mouseClick(form.Button10, Qt::LeftButton);
    QPointer<QWidget> progress; // the run's end deletes it
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != &form && window->isVisible() && window->size() == QSize(401, 72))
            progress = window;
    ASSERT_FALSE(progress.isNull());
    EXPECT_FALSE(form.C1_03->isEnabled());
    EXPECT_FALSE(form.Button10->isEnabled());
    EXPECT_TRUE(form.Button1->isEnabled() && form.Button2->isEnabled()) << "× and _ answer";
    EXPECT_TRUE(progress->isEnabled());
    // A window manager's close (Alt+F4) would leave the run with no way to cancel it.
    QCloseEvent close;
    QApplication::sendEvent(progress->windowHandle(), &close);
    EXPECT_TRUE(progress->isVisible());

    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(progress.isNull() || !progress->isVisible());
    EXPECT_TRUE(messages.Shown.isEmpty());
    EXPECT_EQ(messages.Beeps, 1) << "the end of a run is announced";
    EXPECT_TRUE(QFile::exists(media.File("out/a.mp4")));
}

TEST_F(RunFromWindow, ClosingDuringARunAsksAndYesStopsTheWholeRun)
{
    // An encoder that writes part of its target and runs until it is ended.
    const QString encoder =
        programDir.Write("ffmpeg.exe", "#!/bin/sh\nfor last in \"$@\"; do :; done\n"
                                       "[ \"$3\" = -f ] && exit 0\n"
                                       "printf partial > \"$last\"; exec sleep infinity\n");
    QFile::setPermissions(encoder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    form.Inputs.AddPath(media.Write("b.avi", "b"));
    form.C1_03->SetPath(media.File("out"));
    form.show();
    QTest::mouseClick(form.Button10, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(media.File("out/a.mp4")); }, 30000));

    for (const bool answer : {false, true}) {
        messages.Answer = answer;
        QCloseEvent close;
        QApplication::sendEvent(&form, &close);
        EXPECT_EQ(messages.Asked.size(), answer ? 2 : 1);
        EXPECT_EQ(messages.Asked.last(), "変換を中止しますか？");
        if (!answer) {
            EXPECT_FALSE(form.C1_03->isEnabled()) << "いいえ: the run goes on";
        }
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 30000))
        << "はい: the run ends, then the window";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ProcessRunningWith(media.File("a.avi")); }, 30000))
        << "the encoder is ended";
    EXPECT_FALSE(QFile::exists(media.File("out/b.mp4"))) << "no further file";
    EXPECT_TRUE(QFile::exists(programDir.File("Korumi.ini"))) << "the settings are saved";
    EXPECT_TRUE(messages.Shown.isEmpty());
}

TEST_F(RunFromWindow, AnEmptyOutputFolderIsReportedAndNothingRuns)
{
    form.C1_03->SetPath(QString());
    QTest::mouseClick(form.Button10, Qt::LeftButton);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(messages.Shown, QStringList{"保存先フォルダが指定されていません。"});
}

TEST_F(RunFromWindow, AMissingEncoderIsReported)
{
    QFile::remove(programDir.File("ffmpeg.exe"));
    form.C1_03->SetPath(media.File("out"));
    QTest::mouseClick(form.Button10, Qt::LeftButton);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(messages.Shown, QStringList{"ffmpeg.exe を起動できませんでした。処理を中止します。"});
    EXPECT_EQ(messages.Beeps, 1);
}

TEST_F(RunFromWindow, FailedDamagedAndRepeatedFilesAreListedAfterTheRunWithTheProgressWindowGone)
{
    form.Inputs.AddPath(media.Write("broken.avi", "x"));
    form.Inputs.AddPath(media.Write("damaged.avi", "x"));
    QFile::link(media.File("a.avi"), media.File("same.avi"));
    form.Inputs.AddPath(media.File("same.avi"));
    form.C1_03->SetPath(media.File("out"));
    QStringList progressShownWith;
    const Messages::Handler recorder = Messages::SetHandler([&](const QString& text) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != &form && window->isVisible())
                progressShownWith << text;
        messages.Shown << text;
    });
    QTest::mouseClick(form.Button10, Qt::LeftButton);
    ASSERT_TRUE(waitForEnd());
    Messages::SetHandler(recorder);

    EXPECT_EQ(messages.Shown,
              QStringList({FailureReport({{"broken.avi", 3, false}}),
                           DamageReport({media.File("damaged.avi") +
                                         " : 壊れたところがあります (デコードエラー 3 件、0:00 から)"}),
                           SameFileReport({media.File("same.avi") + " (= " + media.File("a.avi") + ")"})}));
    EXPECT_TRUE(progressShownWith.isEmpty()) << "a finished run must not look like one still going";
}

} // namespace
