#include "app/CommandLineOptions.h"
#include "conversion/BatchResult.h"
#include "conversion/CommandLine.h"
#include "platform/NameClaim.h"
#include "platform/ShellWords.h"
#include "platform/WorkingFiles.h"
#include "tests/app/KorumiRun.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

using Mode = CommandLineOptions::Mode;

TEST(CommandLine, OptionsInAnyOrderBeforeTheEndOfOptions)
{
    EXPECT_EQ(ParseCommandLine({}).RunMode, Mode::Window);
    const CommandLineOptions window = ParseCommandLine({"/v/a.avi", "--", "--dry-run"});
    EXPECT_EQ(window.RunMode, Mode::Window);
    EXPECT_EQ(window.Paths, QStringList({"/v/a.avi", "--dry-run"}));

    const CommandLineOptions convert =
        ParseCommandLine({"--itunes", "a.avi", "--convert", "-", "--", "--dry-run"});
    EXPECT_EQ(convert.RunMode, Mode::Convert);
    EXPECT_TRUE(convert.ITunes);
    EXPECT_FALSE(convert.DryRun);
    EXPECT_EQ(convert.Paths, QStringList({"a.avi", "-", "--dry-run"}));
    EXPECT_TRUE(ParseCommandLine({"--dry-run", "--convert", "a.avi"}).DryRun);

    for (const QStringList& wrong :
         {QStringList{"-x"}, QStringList{"--convert", "--bogus"}, QStringList{"--dry-run"}})
        EXPECT_EQ(ParseCommandLine(wrong).RunMode, Mode::UsageError) << wrong.join(' ').toStdString();
    EXPECT_EQ(ParseCommandLine({"a.avi", "--help"}).RunMode, Mode::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}).RunMode, Mode::Version);
}

TEST(FailureReportText, OneLinePerFileAfterTheHeader)
{
    EXPECT_EQ(FailureReport({{"bad.avi", 183, false}, {"movie.mp4", 0, true}}),
              "次のファイルは変換できませんでした。\n"
              "bad.avi : エンコーダがエラーで終了しました (終了コード 183)\n"
              "movie.mp4 : 入力ファイルと出力ファイルが同じです");
    // Files of one name are told apart by their paths; a killed encoder says by which signal.
    EXPECT_EQ(FailureReport({{"a.avi", 1, false, {}, 0, "/d1/a.avi"},
                             {"a.avi", 0, false, {}, 9, "/d2/a.avi"},
                             {"b.avi", 1, false, {}, 0, "/d1/b.avi"}}),
              "次のファイルは変換できませんでした。\n"
              "/d1/a.avi : エンコーダがエラーで終了しました (終了コード 1)\n"
              "/d2/a.avi : エンコーダがシグナル 9 (SIGKILL) で強制終了されました\n"
              "b.avi : エンコーダがエラーで終了しました (終了コード 1)");
}

using ConvertMode = KorumiRun;
using WindowMode = KorumiRun;

TEST_F(ConvertMode, HelpVersionAndUsageErrors)
{
    korumi({"--help"});
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(standardOutput.contains("--convert"));
    korumi({"--version"});
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(standardOutput.startsWith("Korumi "));
    korumi({"-x"});
    EXPECT_EQ(exitCode, 2);
    EXPECT_TRUE(standardError.contains("-x") && standardError.contains("usage:"));
    korumi({"a.avi"}); // the window, with nowhere to show it
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(standardError.count(u'\n'), 1) << standardError.toStdString();
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
    // Each as a shell runs it: the encoder by its path, every argument as one word.
    const auto line = [&](const QString& source) {
        return ShellLine(QStringList{programDir.File("ffmpeg.exe")} +
                         ConversionCommand(source, TargetPathFor(source, out), 1, settings).Arguments());
    };
    EXPECT_EQ(standardOutput, line(a) + "\n" + line(c) + "\n");
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
    // In order, with any progress lines between them.
    const QStringList lines = standardOutput.split(u'\n');
    const qsizetype first = lines.indexOf("[1/2] pass 1/1: bad.avi -> bad.mp4");
    EXPECT_EQ(first, 0) << standardOutput.toStdString();
    EXPECT_GT(lines.indexOf("[2/2] pass 1/1: good.avi -> good.mp4"), first) << standardOutput.toStdString();
    EXPECT_TRUE(standardOutput.contains("1 of 2 files converted into " + out));
    // What it means in plain words, then ffmpeg's own reason.
    EXPECT_TRUE(standardError.contains(
        "次のファイルは変換できませんでした。\nbad.avi : 動画ファイルではないか、壊れています: "
        "Invalid data found when processing input\n"))
        << standardError.toStdString();
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

TEST_F(ConvertMode, AnOutputFolderOnNfsConvertsAndOneWithoutLocksStopsTheRunWithOneMessage)
{
    const QString clip = MakeClip(media.MakeDir("d1"), {"clip.mov", 1, false});
    const QString other = MakeClip(media.MakeDir("d2"), {"clip.mov", 1, false});
    ASSERT_FALSE(clip.isEmpty() || other.isEmpty());
    environmentChanges.insert("LD_PRELOAD", KORUMI_OTHER_FILE_SYSTEM_LOCKS);
    environmentChanges.insert("KORUMI_TEST_LOCKS_UNDER", out);
    // A sanitizer build would refuse a library loaded ahead of its own.
    environmentChanges.insert("ASAN_OPTIONS",
                              qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");

    environmentChanges.insert("KORUMI_TEST_LOCKS", "nfs");
    korumi({"--convert", clip, other});
    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList({"clip (2).mp4", "clip.mp4"}));

    QDir(out).removeRecursively();
    environmentChanges.insert("KORUMI_TEST_LOCKS", "none");
    korumi({"--convert", clip, other});
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(standardError.count("ロックできない"), 1) << standardError.toStdString();
    EXPECT_TRUE(standardError.contains(out + ": No locks available")) << standardError.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(ConvertMode, RunsThatCannotStartSayWhyAndExitOne)
{
    korumi({"--convert", media.File("missing.avi")});
    EXPECT_EQ(exitCode, 1);

    // An output folder in a home folder that is unknown: not the root's.
    const QString clip = MakeClip(media.Path(), {"clip.avi", 1, false});
    programDir.Write("Korumi.ini", "[SET2]\nC11=~/korumi-out\n");
    environmentChanges.insert("HOME", "");
    korumi({"--convert", clip});
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardError.contains("保存先フォルダ ~/korumi-out の ~ が指すホームフォルダがわかりません"))
        << standardError.toStdString();
    EXPECT_FALSE(QFile::exists("/korumi-out"));
    EXPECT_TRUE(ReadBytes(programDir.File("Korumi.ini")).contains("C11=~/korumi-out"));

    // The only ffmpeg on the search path, there but not to be run, is not "missing".
    programDir.Write("Korumi.ini", ("[SET2]\nC11=" + out + "\n").toUtf8());
    media.Write("bin/ffmpeg", "#!/bin/sh\n");
    environmentChanges.insert("PATH", media.File("bin"));
    korumi({"--convert", clip});
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(
        standardError.contains("ffmpeg を実行できません。処理を中止します。\nffmpeg.exe: cannot run ffmpeg: "
                               "Permission denied"))
        << standardError.toStdString();

    QFile::remove(programDir.File("profile.txt"));
    korumi({"--convert", media.Write("a.avi", "a")});
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardError.contains("ファイル " + programDir.File("profile.txt") + " は開けません"));
}

TEST_F(ConvertMode, ListsAreReadWithinLimitsAndANulInALineIsRefused)
{
    // The videos' own folder is the output folder: a name cut at a NUL would replace a video.
    programDir.Write("Korumi.ini", ("[SET2]\nC11=" + media.Path() + "\n").toUtf8());
    const QString clip = MakeClip(media.Path(), {"clip.avi", 1, false});
    const QString wedding = media.Write("wedding.mp4", "the user's own video");
    const QByteArray nulList =
        QFile::encodeName(clip) + '\0' + QFile::encodeName(media.File("wedding.avi")) + '\0';
    const QByteArray longName = QByteArray(5000, 'a') + '\n';
    QByteArray utf16(reinterpret_cast<const char*>(clip.utf16()), clip.size() * 2);
    struct Case {
        const char* option;
        QByteArray list; // empty: /dev/zero
        const char* problem;
    };
    for (const Case& c :
         {Case{"--files-from", nulList, "name 1 in the list of files standard input holds a NUL byte"},
          Case{"--files-from", utf16 + QByteArray("\n\0", 2),
               "holds a NUL byte (a list of names each "
               "ended by a NUL byte is read with --files0-from)"},
          Case{"--files-from", longName,
               "name 1 in the list of files standard input is longer than any path"},
          Case{"--files-from", {}, "holds a NUL byte"},
          Case{"--files0-from", {}, "holds more than 20 empty names"}}) {
        if (c.list.isEmpty()) {
            standardInput = "/dev/zero";
            korumi({"--convert", c.option, "-"});
        } else {
            standardInput.clear();
            start({"--convert", c.option, "-"});
            process.write(c.list);
            process.closeWriteChannel();
            finish();
        }
        EXPECT_EQ(exitCode, 1) << c.problem;
        EXPECT_TRUE(standardError.contains(c.problem)) << standardError.toStdString();
        EXPECT_EQ(ReadBytes(wedding), "the user's own video");
        EXPECT_FALSE(QFile::exists(media.File("clip.mp4"))) << "nothing of a refused list is converted";
    }
}

TEST_F(WindowMode, StartsWithNothingOnStandardError)
{
    // The window reads its settings on its first activation, which tells the test that start-up
    // is over: the file is closed after reading.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(programDir.File("Korumi.ini")).constData(),
                                IN_CLOSE_NOWRITE),
              0);
    QProcess process;
    QProcessEnvironment environment = bareEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(programDir.File("korumi"), {});

    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            char event[sizeof(inotify_event) + NAME_MAX + 1];
            return read(watch, event, sizeof event) > 0;
        },
        60000))
        << "the window never read its settings";
    close(watch);
    process.kill();
    process.waitForFinished();

    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), "");
}

} // namespace

namespace
{

TEST_F(ConvertMode, AStopSignalEndsTheWholeRunLeavingTheUsersFileAndNoEncoderOutlivesKorumi)
{
    // Converted to 1280x720, a minute of 640x480 takes the encoder far longer than the test waits.
    programDir.Write("Korumi.ini", ("[SET1]\nC5=3\n[SET2]\nC11=" + out + "\n").toUtf8());
    const QString slow = MakeClip(media.Path(), {"1-slow.avi", 60, true, QSize(640, 480), 30});
    const QString next = MakeClip(media.Path(), {"2-next.avi", 1});
    ASSERT_FALSE(slow.isEmpty());
    const QString slowTarget = media.Write("out/1-slow.mp4", "the user's own");
    const auto startAndWaitForOutput = [&] {
        start({"--convert", slow, next});
        return QTest::qWaitFor([&] { return IsBeingEncoded(slowTarget); }, 60000);
    };

    struct Case {
        int signalNumber;
        int exitCode;
        const char* name;
    };
    for (const Case& c : {Case{SIGINT, 130, "INT"}, Case{SIGTERM, 143, "TERM"}, Case{SIGHUP, 129, "HUP"}}) {
        ASSERT_TRUE(startAndWaitForOutput()) << c.name;
        ::kill(static_cast<pid_t>(process.processId()), c.signalNumber);
        finish();
        EXPECT_EQ(exitCode, c.exitCode) << c.name;
        // The files being converted are named as stopped (both, when they ran side by side).
        const QRegularExpression summary(
            QStringLiteral("interrupted by SIG%1: 0 of 2 files converted into %2; 0 failed, 0 cancelled, "
                           "[12] stopped \\([^)]*1-slow\\.avi")
                .arg(c.name, QRegularExpression::escape(out)));
        EXPECT_TRUE(summary.match(standardOutput).hasMatch()) << standardOutput.toStdString();
        EXPECT_FALSE(ProcessRunningWith(slowTarget)) << c.name;
        EXPECT_EQ(ReadBytes(slowTarget), "the user's own") << c.name;
        EXPECT_EQ(TemporaryOutputsOf(slowTarget), QStringList()) << "the partial output is removed";
        EXPECT_FALSE(QFile::exists(out + "/2-next.mp4")) << "no further file starts";
    }

    // Killed outright, Korumi leaves a partial file, never under the final name; the next run
    // into the folder removes it.
    ASSERT_TRUE(startAndWaitForOutput());
    ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    finish();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ProcessRunningWith(slowTarget); }, 60000))
        << "an encoder outlived a killed Korumi";
    EXPECT_EQ(ReadBytes(slowTarget), "the user's own");
    korumi({"--convert", next});
    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_EQ(TemporaryOutputsOf(slowTarget), QStringList());
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList({"1-slow.mp4", "2-next.mp4"}));
}

} // namespace

namespace
{

TEST_F(ConvertMode, NoFileOfTheRunIsLostWhateverTheInputsAndTheSettingsFile)
{
    // One folder is both the source and the output: a clip, the user's own a.mp4, two b.avi in
    // subfolders, and a pipe nobody will ever write to.
    const QString folder = media.MakeDir("f");
    media.MakeDir("f/d1");
    media.MakeDir("f/d2");
    ASSERT_FALSE(MakeClip(folder, {"a.avi", 1}).isEmpty());
    const QString own = MakeClip(folder, {"a.mp4", 1});
    ASSERT_FALSE(MakeClip(folder + "/d1", {"b.avi", 1}).isEmpty());
    ASSERT_FALSE(MakeClip(folder + "/d2", {"b.avi", 1}).isEmpty());
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/pipe.avi").constData(), 0600), 0);
    const QByteArray ownBytes = ReadBytes(own);
    // The settings live behind a link, in a file a Windows installation shares in code page 932.
    const QByteArray cp932Section = "[OLD]\r\nNAME=\x82\xa8\x82\xdc\x82\xa9\x82\xb9\r\n";
    const QString realIni =
        media.Write("shared/Korumi.ini", "[SET2]\r\nC11=" + folder.toUtf8() + "\r\n" + cp932Section);
    QFile::remove(programDir.File("Korumi.ini"));
    ASSERT_TRUE(QFile::link(realIni, programDir.File("Korumi.ini")));

    // `korumi --convert f | head -n 1`: a reader that takes one line and goes away.
    QProcess head;
    process.setStandardOutputProcess(&head);
    head.start("head", {"-n", "1"});
    start({"--convert", folder});
    finish();
    head.waitForFinished();

    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_EQ(ReadBytes(own), ownBytes) << "the user's own a.mp4 is a source, never a target";
    for (const char* name : {"a (2).mp4", "a (3).mp4", "b.mp4", "b (2).mp4"})
        EXPECT_FALSE(StreamOf(Probe(folder + "/" + name), "video").isEmpty()) << name;
    EXPECT_TRUE(QFileInfo(programDir.File("Korumi.ini")).isSymLink());
    const QByteArray saved = ReadBytes(realIni);
    EXPECT_TRUE(saved.contains("C11=" + folder.toUtf8() + "\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains(cp932Section)) << "lines Korumi does not change stay byte for byte";
    EXPECT_TRUE(saved.contains("C0=1")) << "the settings were saved";
}

TEST_F(ConvertMode, WhatEachStatusMeans)
{
    // A music file is no video, and says so in plain words, in two passes as in one.
    programDir.Write("Korumi.ini", ("[SET2]\nC11=" + out + "\nC12=1\n").toUtf8());
    QProcess::execute("ffmpeg",
                      {"-v", "error", "-f", "lavfi", "-i", "sine=duration=2", media.File("song.wav")});
    korumi({"--convert", media.File("song.wav")});
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardError.contains("song.wav : 映像が入っていません")) << standardError.toStdString();
    EXPECT_FALSE(QFile::exists(out + "/song.mp4"));

    // A damaged source: 40 % of its middle zeroed. Its output is kept, and the run told apart.
    programDir.Write("Korumi.ini", ("[SET2]\nC11=" + out + "\n").toUtf8());
    const QString damaged =
        MakeClip(media.Path(), {"damaged.mp4", 8, true, {160, 120}, 25, {"-c:v", "libx264"}});
    ASSERT_FALSE(damaged.isEmpty());
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(file.size() * 3 / 10);
    file.write(QByteArray(int(file.size() * 4 / 10), '\0'));
    file.close();
    korumi({"--convert", damaged});
    EXPECT_EQ(exitCode, 3) << standardError.toStdString();
    EXPECT_TRUE(standardOutput.contains("1 of 1 files converted") && standardOutput.contains("1 damaged"))
        << standardOutput.toStdString();
    // From about where the damage starts, as far as the encoder's progress tells it.
    const QRegularExpression damage(
        QStringLiteral("damaged.mp4 : 壊れたところがあります \\(デコードエラー (\\d+) 件、0:0[0-3] から\\)"));
    const QRegularExpressionMatch told = damage.match(standardError);
    ASSERT_TRUE(told.hasMatch()) << standardError.toStdString();
    EXPECT_GT(told.captured(1).toInt(), 50);
    EXPECT_FALSE(StreamOf(Probe(out + "/damaged.mp4"), "video").isEmpty());
}

TEST_F(ConvertMode, EachFileIsConvertedOnceHoweverItIsNamed)
{
    const QString clip = MakeClip(media.MakeDir("films"), {"clip.mov", 1, false});
    ASSERT_FALSE(clip.isEmpty());
    ASSERT_TRUE(QFile::link(clip, media.File("link.mov")));

    korumi({"--convert", clip, media.File("films"), media.File("link.mov"), clip});

    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{"clip.mp4"});
    EXPECT_TRUE(standardOutput.contains("1 of 1 files converted") &&
                standardOutput.contains("left out, the same file as another: 3"))
        << standardOutput.toStdString();
    EXPECT_EQ(standardError.count(" (= " + clip + ")"), 3) << standardError.toStdString();
}

TEST_F(ConvertMode, ATargetAnotherRunIsWritingCountsAsConvertedWhenSkippingThose)
{
    const QString clip = MakeClip(media.Path(), {"clip.mov", 1, false});
    ASSERT_FALSE(clip.isEmpty());
    QDir().mkpath(out);
    // Held as a live run holds the target it writes.
    std::unique_ptr<NameClaim> otherRun;
    ASSERT_EQ(NameClaim::TryTake(WorkingFiles::LockPathFor(out + "/clip.mp4"), otherRun),
              NameClaim::Outcome::Claimed);

    korumi({"--convert", "--skip-existing", clip});

    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_TRUE(standardOutput.contains("skipped, already converted: 1")) << standardOutput.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList());
}

} // namespace

namespace
{

TEST_F(ConvertMode, OnATerminalTheProgressRisesOnOneLineRewrittenInPlace)
{
    const QString clip = MakeClip(media.Path(), {"clip.avi", 20, true, QSize(640, 480), 30});
    ASSERT_FALSE(clip.isEmpty());
    // `script` gives Korumi a terminal of its own and copies what it writes there.
    QProcess terminal;
    terminal.start("script", {"-qfec", programDir.File("korumi") + " --convert " + clip, "/dev/null"});
    ASSERT_TRUE(terminal.waitForFinished(180000));
    const QString shown = QString::fromUtf8(terminal.readAllStandardOutput());

    QList<int> percentages;
    const QRegularExpression rewritten(QStringLiteral("\r(clip\\.avi (\\d+) %, run \\d+ %)"));
    for (auto match = rewritten.globalMatch(shown); match.hasNext();)
        percentages << match.next().captured(2).toInt();
    ASSERT_GE(percentages.size(), 2) << shown.toStdString();
    EXPECT_TRUE(std::is_sorted(percentages.begin(), percentages.end()));
    EXPECT_LT(percentages.first(), percentages.last());
    EXPECT_TRUE(shown.contains("1 of 1 files converted")) << shown.toStdString();
}

} // namespace

namespace
{

TEST_F(ConvertMode, TwoRunsOfOneSourceAtOnceWriteTwoWholeFilesAndLeaveTheSettingsWhole)
{
    // Two passes each: both runs keep pass logs while the other runs.
    programDir.Write("Korumi.ini", ("[SET2]\nC11=" + out + "\nC12=1\n").toUtf8());
    const QString clip = MakeClip(media.Path(), {"clip.avi", 10, true, QSize(640, 480), 30});
    ASSERT_FALSE(clip.isEmpty());
    QProcess runs[2];
    for (QProcess& run : runs) {
        run.setProcessEnvironment(bareEnvironment());
        run.setStandardInputFile(QProcess::nullDevice());
        run.start(programDir.File("korumi"), {"--convert", clip});
        // The second starts while the first is writing.
        ASSERT_TRUE(QTest::qWaitFor([&] { return IsBeingEncoded(out + "/clip.mp4"); }, 60000));
    }

    for (QProcess& run : runs) {
        ASSERT_TRUE(run.waitForFinished(180000));
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    }
    EXPECT_TRUE(QString::fromUtf8(runs[1].readAllStandardOutput()).contains("clip.avi -> clip (2).mp4"));
    for (const char* name : {"clip.mp4", "clip (2).mp4"}) {
        QProcess decode;
        decode.start("ffmpeg", {"-v", "error", "-i", out + "/" + name, "-f", "null", "-"});
        ASSERT_TRUE(decode.waitForFinished(60000));
        EXPECT_EQ(decode.exitCode(), 0) << name;
        EXPECT_EQ(decode.readAllStandardError(), "") << name;
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList({"clip (2).mp4", "clip.mp4"}))
        << "no temporary or lock file left behind";
    const QByteArray saved = ReadBytes(programDir.File("Korumi.ini"));
    EXPECT_EQ(saved.count("[SET2]"), 1) << saved.toStdString();
    EXPECT_TRUE(saved.contains("C12=1\n") && saved.contains("C0=1\n")) << saved.toStdString();
    QStringList left = QDir(programDir.Path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, QStringList({"Korumi.ini", "ffmpeg.exe", "korumi", "profile.txt"}))
        << "no temporary file left behind";
}

} // namespace

namespace
{

TEST_F(ConvertMode, ABatchResumedWithSkipExistingConvertsOnlyTheMissingFiles)
{
    const QString folder = media.MakeDir("batch");
    ASSERT_FALSE(MakeClip(folder, {"a.avi", 1}).isEmpty());
    const QString b = MakeClip(folder, {"b.avi", 1});
    const QString earlier = media.Write("out/a.mp4", "converted before the batch was stopped");

    korumi({"--convert", "--dry-run", "--skip-existing", folder});
    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_EQ(standardOutput.count(u'\n'), 1) << standardOutput.toStdString();
    EXPECT_TRUE(standardOutput.contains(b)) << standardOutput.toStdString();
    EXPECT_TRUE(standardError.contains("skipped, already converted: 1")) << standardError.toStdString();

    // The same choice, kept in the settings file.
    programDir.Write("Korumi.ini", ("[SET2]\nC11=" + out + "\nSKIP_EXISTING=1\n").toUtf8());
    korumi({"--convert", folder});
    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_TRUE(standardOutput.contains("1 of 1 files converted into " + out +
                                        "; 0 failed, 0 cancelled; skipped, already converted: 1"))
        << standardOutput.toStdString();
    EXPECT_EQ(ReadBytes(earlier), "converted before the batch was stopped");
    EXPECT_FALSE(StreamOf(Probe(out + "/b.mp4"), "video").isEmpty());
}

} // namespace
