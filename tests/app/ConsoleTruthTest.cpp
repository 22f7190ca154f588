// The console mode on hostile but ordinary inputs: every path accounted for, an exit status that
// means it, a stop that works whatever standard output does, and dry-run lines safe to paste.
#include "tests/app/KorumiRun.h"
#include "tests/support/Media.h"

#include <QDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

using ConsoleTruth = KorumiRun;

// The pid of the running process whose command line names `needle`, or 0.
pid_t processWith(const QString& program, const QString& needle)
{
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QByteArray words = cmdline.readAll();
        if (words.startsWith(program.toUtf8()) && words.contains(needle.toUtf8()))
            return pid.toInt();
    }
    return 0;
}

TEST_F(ConsoleTruth, EveryPathIsAccountedForAndAPipeNeverHoldsUpTheRun)
{
    const QString good = MakeClip(media.Path(), {"good.avi", 1});
    const QString pipe = media.File("pipe.avi");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    korumi({"--convert", good, media.File("typo.avi"), pipe});

    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardError.contains(media.File("typo.avi") + " : 見つかりません"))
        << standardError.toStdString();
    EXPECT_TRUE(standardError.contains(pipe + " : ファイルでもフォルダでもありません"))
        << standardError.toStdString();
    EXPECT_TRUE(standardOutput.contains("1 of 1 files converted"));

    // A stray --jobs is clamped to what the machine can use; none at all is a usage error.
    korumi({"--convert", "--dry-run", "--jobs", "2147483647", good});
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(standardError.contains("--jobs 2147483647 is more than this machine can use"));
    korumi({"--convert", "--jobs", "0", good});
    EXPECT_EQ(exitCode, 2);
}

TEST_F(ConsoleTruth, APastedDryRunLineConvertsTheNamedFileAndRunsNothingElse)
{
    const QString folder = media.MakeDir("it's \"$(touch PWNED)\"\nfolder");
    const QString clip = MakeClip(folder, {"a $(touch PWNED) `id`.avi", 1});
    ASSERT_FALSE(clip.isEmpty());

    korumi({"--convert", "--dry-run", clip});
    ASSERT_EQ(exitCode, 0) << standardError.toStdString();
    ASSERT_EQ(standardOutput.count(u'\n'), 1) << standardOutput.toStdString();

    QDir().mkpath(out); // the one thing Korumi does besides the command
    QProcess shell;
    shell.setWorkingDirectory(media.Path());
    shell.start("sh", {"-c", standardOutput});
    ASSERT_TRUE(shell.waitForFinished(120000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_FALSE(StreamOf(Probe(out + "/a $(touch PWNED) `id`.mp4"), "video").isEmpty());
    EXPECT_FALSE(QFile::exists(media.File("PWNED")));
}

TEST_F(ConsoleTruth, AStopWorksWhileNobodyReadsAndTheSummaryArrivesOnceTheyDo)
{
    programDir.Write("Korumi.ini", ("[SET1]\nC5=3\n[SET2]\nC11=" + out + "\n").toUtf8());
    const QString slow = MakeClip(media.Path(), {"slow.avi", 60, true, QSize(640, 480), 30});
    // Standard output is a pipe that is full before Korumi starts, and that nobody reads.
    const QByteArray fifo = QFile::encodeName(media.File("stdout"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int filler = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const QByteArray block(4096, 'x');
    while (::write(filler, block.constData(), block.size()) > 0) {
    }
    ::close(filler);
    process.setStandardOutputFile(QString::fromUtf8(fifo));

    start({"--convert", slow});
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsBeingEncoded(out + "/slow.mp4"); }, 60000));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ProcessRunningWith(out + "/slow.mp4"); }, 60000))
        << "the stop ended the encoder though nobody read";

    // Someone reads at last: what was held back arrives, and Korumi ends.
    QByteArray shown;
    const auto drain = [&] {
        char buffer[65536];
        for (ssize_t count; (count = ::read(reader, buffer, sizeof buffer)) > 0;)
            shown.append(buffer, count);
    };
    while (process.state() != QProcess::NotRunning) {
        drain();
        process.waitForFinished(100);
    }
    drain();
    ::close(reader);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_TRUE(shown.contains("interrupted by SIGINT")) << shown.right(300).toStdString();
}

TEST_F(ConsoleTruth, AKilledEncoderAndAFailedHandOffAreNamedAndFail)
{
    programDir.Write("Korumi.ini", ("[SET1]\nC5=3\n[SET2]\nC11=" + out + "\n").toUtf8());
    const QString slow = MakeClip(media.Path(), {"slow.avi", 60, true, QSize(640, 480), 30});
    start({"--convert", slow});
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsBeingEncoded(out + "/slow.mp4"); }, 60000));
    ::kill(processWith(programDir.File("ffmpeg.exe"), slow), SIGKILL);
    finish();
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardError.contains("シグナル 9 (SIGKILL)")) << standardError.toStdString();

    // The media library cannot be written: the videos folder is a file.
    QFile::link(BuiltProgramFolder() + "/addfile.exe", programDir.File("addfile.exe"));
    const QString home = media.MakeDir("home");
    media.Write("home/Videos", "not a folder");
    environmentChanges.insert("HOME", home);
    programDir.Write("Korumi.ini", ("[SET2]\nC11=" + out + "\n").toUtf8());
    korumi({"--convert", "--itunes", MakeClip(media.Path(), {"clip.avi", 1})});
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardError.contains("clip.avi : メディアライブラリに登録できませんでした"))
        << standardError.toStdString();
}

TEST_F(ConsoleTruth, ADryRunWhoseCommandsCannotAllBeWrittenFailsAndAStopEndsItsBlockedWrite)
{
    const QString folder = media.MakeDir("many");
    for (int i = 0; i < 1000; ++i) // far more commands than a pipe holds
        media.Write(QStringLiteral("many/clip %1.avi").arg(i));

    process.setStandardOutputFile("/dev/full");
    korumi({"--convert", "--dry-run", folder});
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(standardError.contains("write error on standard output: No space left on device"))
        << standardError.toStdString();

    // Standard output closed by the caller.
    QProcess closed;
    closed.setProcessEnvironment(bareEnvironment());
    closed.start(
        "sh", {"-c", "exec \"$0\" \"$@\" >&-", programDir.File("korumi"), "--convert", "--dry-run", folder});
    ASSERT_TRUE(closed.waitForFinished(60000));
    EXPECT_EQ(closed.exitCode(), 1);
    EXPECT_TRUE(
        closed.readAllStandardError().contains("write error on standard output: Bad file descriptor"));

    // A pipe that nobody reads: the stop ends the write it waits in.
    const QByteArray fifo = QFile::encodeName(media.File("stdout"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    process.setStandardOutputFile(QString::fromUtf8(fifo));
    start({"--convert", "--dry-run", folder});
    const QString waitChannel = QStringLiteral("/proc/%1/wchan").arg(process.processId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadBytes(waitChannel).contains("pipe_write"); }, 60000));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    EXPECT_TRUE(process.waitForFinished(30000)) << "the stop was not heard";
    ::close(reader);
    EXPECT_EQ(process.exitCode(), 130) << process.readAllStandardError().toStdString();
}

} // namespace
