#include "app/CommandLineOptions.h"
#include "conversion/BatchResult.h"
#include "conversion/CommandLine.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

using Mode = CommandLineOptions::Mode;

TEST(CommandLine, PathsOptionsAndUsageErrors)
{
    EXPECT_EQ(ParseCommandLine({}).RunMode, Mode::Window);
    const CommandLineOptions window = ParseCommandLine({"/v/a.avi", "--dry-run"});
    EXPECT_EQ(window.RunMode, Mode::Window);
    EXPECT_EQ(window.Paths, QStringList({"/v/a.avi", "--dry-run"})); // plain paths keep their meaning

    const CommandLineOptions convert =
        ParseCommandLine({"--convert", "--itunes", "a.avi", "--", "--dry-run"});
    EXPECT_EQ(convert.RunMode, Mode::Convert);
    EXPECT_TRUE(convert.ITunes);
    EXPECT_FALSE(convert.DryRun);
    EXPECT_EQ(convert.Paths, QStringList({"a.avi", "--dry-run"}));

    EXPECT_EQ(ParseCommandLine({"--convert", "--bogus"}).RunMode, Mode::UsageError);
    EXPECT_EQ(ParseCommandLine({"--help"}).RunMode, Mode::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}).RunMode, Mode::Version);
}

TEST(FailureReportText, OneLinePerFileAfterTheHeader)
{
    EXPECT_EQ(FailureReport({{"bad.avi", 183, false}, {"movie.mp4", 0, true}}),
              "次のファイルは変換できませんでした。\n"
              "bad.avi : エンコーダがエラーで終了しました (終了コード 183)\n"
              "movie.mp4 : 入力ファイルと出力ファイルが同じです");
}

// Runs a copy of the built program from a program folder of the test's own.
class ConvertMode : public ::testing::Test
{
protected:
    TempDir programDir;
    TempDir media;
    TempDir temporary;
    QString out = media.File(QStringLiteral("out"));
    int exitCode = -1;
    QString standardOutput;
    QString standardError;

    void SetUp() override
    {
        const QString built = BuiltProgramFolder();
        QFile::copy(built + "/korumi", programDir.File("korumi"));
        QFile::copy(built + "/profile.txt", programDir.File("profile.txt"));
        QFile::link(built + "/ffmpeg.exe", programDir.File("ffmpeg.exe"));
        // The saved output folder is where converted files go.
        programDir.Write("Korumi.ini", ("[SET2]\nC11=" + out + "\n").toUtf8());
    }

    // No display and no runtime folder from a session (as under root or in a container).
    QProcessEnvironment bareEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(name);
        environment.insert("TMPDIR", temporary.Path());
        return environment;
    }

    void korumi(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = bareEnvironment(); // the console mode needs no window system
        environment.insert("QT_DEBUG_PLUGINS", "1"); // a plugin loaded would be told on standard error
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(programDir.File("korumi"), arguments);
        ASSERT_TRUE(process.waitForFinished(180000));
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        standardOutput = QString::fromUtf8(process.readAllStandardOutput());
        standardError = QString::fromUtf8(process.readAllStandardError());
    }
};

using WindowMode = ConvertMode;

TEST_F(ConvertMode, HelpVersionAndUsageErrors)
{
    korumi({"--help"});
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(standardOutput.contains("--convert"));
    korumi({"--version"});
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(standardOutput.startsWith("Korumi "));
    korumi({"--convert", "--frobnicate"});
    EXPECT_EQ(exitCode, 2);
    EXPECT_TRUE(standardError.contains("--frobnicate"));
}

TEST_F(ConvertMode, DryRunPrintsTheExactCommandsAndWritesNothing)
{
    const QString a = media.Write("a b.avi", "a");
    const QString c = media.Write("sub/c.mkv", "c");

    korumi({"--convert", "--dry-run", "--", c, a});

    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_EQ(standardError, "") << "no platform plugin, no warning";
    // The first preset: 720x480 H.264 at 30 fps, 2048 kbit/s, 48000 Hz, 128 kbit/s.
    ConversionSettings settings;
    settings.VideoCodec = "LIBX264";
    settings.SampleRateIndex = 0;
    settings.OutputFolder = out;
    EXPECT_EQ(standardOutput, ConversionCommand(a, 1, settings).Text() + "\n" +
                                  ConversionCommand(c, 1, settings).Text() + "\n");
    EXPECT_FALSE(QDir(out).exists());
    EXPECT_FALSE(QFile::exists(programDir.File("_thumb.jpg")));
    QFile ini(programDir.File("Korumi.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), ("[SET2]\nC11=" + out + "\n").toUtf8()); // settings not saved
}

TEST_F(ConvertMode, ConvertsReportsFailuresOnStandardErrorAndSavesTheSettings)
{
    const QString good = MakeClip(media.Path(), {"good.avi", 1});
    const QString bad = media.Write("bad.avi", QByteArray(2048, 'x'));
    ASSERT_FALSE(good.isEmpty());

    korumi({"--convert", bad, good});

    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardOutput.startsWith(
        "[1/2] pass 1/1: bad.avi -> bad.mp4\n[2/2] pass 1/1: good.avi -> good.mp4\n"))
        << standardOutput.toStdString();
    EXPECT_TRUE(standardOutput.contains("1 of 2 files converted into " + out));
    EXPECT_TRUE(standardError.contains(
        "次のファイルは変換できませんでした。\nbad.avi : エンコーダがエラーで終了しました"));
    EXPECT_FALSE(StreamOf(Probe(out + "/good.mp4"), "video").isEmpty());
    EXPECT_FALSE(QFile::exists(out + "/bad.mp4"));
    QFile ini(programDir.File("Korumi.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("C0=1"));
}

TEST_F(ConvertMode, EveryFileConvertedExitsZero)
{
    const QString clip = MakeClip(media.Path(), {"clip.mov", 1, false});
    korumi({"--convert", clip});
    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_TRUE(QFile::exists(out + "/clip.mp4"));
}

TEST_F(ConvertMode, NothingToConvertOrNoPresetFileExitsOne)
{
    korumi({"--convert", media.File("missing.avi")});
    EXPECT_EQ(exitCode, 1);

    QFile::remove(programDir.File("profile.txt"));
    korumi({"--convert", media.Write("a.avi", "a")});
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardError.contains("ファイル " + programDir.File("profile.txt") + " は開けません"));
}

TEST_F(WindowMode, StartsWithNothingOnStandardError)
{
    // The settings file as a pipe: the window reads it on its first activation, which tells the
    // test that start-up is over.
    const QByteArray settings = QFile::encodeName(programDir.File("Korumi.ini"));
    QFile::remove(settings);
    ASSERT_EQ(mkfifo(settings.constData(), 0600), 0);
    QProcess process;
    QProcessEnvironment environment = bareEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(programDir.File("korumi"), {});

    int writer = -1;
    for (QDeadlineTimer deadline(60000); writer < 0 && !deadline.hasExpired(); QTest::qWait(50))
        writer = open(settings.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(writer, 0) << "the window never read its settings";
    close(writer);
    process.kill();
    process.waitForFinished();

    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), "");
}

} // namespace
