#include "app/CommandLineOptions.h"
#include "app/GivenPaths.h"
#include "tests/app/KorumiRun.h"
#include "tests/support/TempDir.h"

#include <QTest>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>

namespace
{

TEST(GivenPaths, ListsJoinThePathsWhereTheyWereNamedAndWhatWentWrongIsNamed)
{
    TempDir dir;
    const QString nul = dir.Write("nul", QByteArray("o\0\0", 3));
    const CommandLineOptions options = ParseCommandLine(
        {"first", "--files-from", dir.Write("lines", "m\nn\n"), "--convert", "--files0-from=" + nul,
         "--files-from", dir.File("missing"), "last", "--files0-from", dir.Path(), "--", "--files-from"});
    const GivenPaths given = ReadGivenPaths(options);
    EXPECT_EQ(given.Paths, QStringList({"first", "m", "n", "o", "last", "--files-from"}));
    // The system's reason, in Qt's Japanese where a window of the same process has loaded it.
    const QString unreadable = QStringLiteral("korumi: cannot read the list of files %1: %2");
    EXPECT_EQ(given.Problems,
              QStringList({"korumi: name 2 in the list of files " + nul + " is empty; it names no file",
                           unreadable.arg(dir.File("missing"), qt_error_string(ENOENT)),
                           unreadable.arg(dir.Path(), qt_error_string(EISDIR))}));

    for (const QStringList& wrong :
         {QStringList{"--convert", "--files-from"}, QStringList{"--convert", "--files0-from="},
          QStringList{"--convert", "--files0-from", "-", "--files-from=-"}, QStringList{"--files-from", "l"}})
        EXPECT_EQ(ParseCommandLine(wrong).RunMode, CommandLineOptions::Mode::UsageError)
            << wrong.join(' ').toStdString();
}

using FileLists = KorumiRun;

TEST_F(FileLists, EveryListedPathIsAccountedForWithThoseOfTheCommandLine)
{
    const QString a = media.Write("a.avi", "a");
    const QString broken = media.Write("line\nbreak.avi", "b");
    const QString c = media.Write("d/c.avi", "c");
    const QString done = media.Write("done.avi", "converted before");
    media.Write("out/done.mp4", "converted before");
    QByteArray nulList;
    for (const QString& name : {a, QString(), broken, media.File("gone.avi")})
        nulList += name.toUtf8() + '\0';
    standardInput = media.Write("list0", nulList);
    const QString lines = media.Write("lines", (media.File("d") + "\n").toUtf8());

    korumi({"--convert", "--dry-run", "--skip-existing", done, "--files0-from", "-", "--files-from", lines});

    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(standardOutput.count(u'\n'), 3) << standardOutput.toStdString();
    for (const QString& path : {a, c, media.File("line")})
        EXPECT_TRUE(standardOutput.contains(path)) << path.toStdString();
    EXPECT_TRUE(standardError.contains("name 2 in the list of files standard input is empty"))
        << standardError.toStdString();
    EXPECT_TRUE(standardError.contains(media.File("gone.avi") + " : 見つかりません"))
        << standardError.toStdString();
    EXPECT_TRUE(standardError.contains("skipped, already converted: 1")) << standardError.toStdString();
}

TEST_F(FileLists, CtrlCStopsAListStillComingAndAClosedStandardInputListsNothing)
{
    standardInput.clear(); // a pipe this test keeps open
    start({"--convert", "--files-from", "-"});
    ASSERT_TRUE(process.waitForStarted());
    // Waiting in read(0, ...) for a list that never comes.
    const QString syscall = QStringLiteral("/proc/%1/syscall").arg(process.processId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadBytes(syscall).startsWith("0 0x0 "); }, 60000));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    finish();
    EXPECT_EQ(exitCode, 130) << standardError.toStdString();

    // `korumi ... <&-`: standard input is closed, not some file Korumi opened in its place.
    QProcess closed;
    closed.setProcessEnvironment(bareEnvironment());
    closed.start("sh", {"-c", "exec \"$0\" --convert --files-from - <&-", programDir.File("korumi")});
    ASSERT_TRUE(closed.waitForFinished(60000));
    EXPECT_EQ(closed.exitCode(), 1);
    EXPECT_EQ(closed.readAllStandardError(), "korumi: no files to convert\n");
}

} // namespace
