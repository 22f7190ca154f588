#include "app/CommandLineOptions.h"
#include "app/GivenPaths.h"
#include "tests/app/KorumiRun.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace
{

TEST(CommandLine, ListsOfPathsTakeTheirPlaceAmongThePaths)
{
    const CommandLineOptions options = ParseCommandLine(
        {"a", "--files0-from", "-", "--convert", "b", "--files-from=l.txt", "--", "--files-from"});
    EXPECT_EQ(options.RunMode, CommandLineOptions::Mode::Convert);
    EXPECT_EQ(options.Paths, QStringList({"a", "b", "--files-from"}));
    ASSERT_EQ(options.Lists.size(), 2);
    EXPECT_EQ(options.Lists[0].File, "-");
    EXPECT_EQ(options.Lists[0].Separator, ListSeparator::Nul);
    EXPECT_EQ(options.Lists[0].Position, 1);
    EXPECT_EQ(options.Lists[1].File, "l.txt");
    EXPECT_EQ(options.Lists[1].Separator, ListSeparator::Line);
    EXPECT_EQ(options.Lists[1].Position, 2);

    for (const QStringList& wrong :
         {QStringList{"--convert", "--files-from"}, QStringList{"--convert", "--files0-from="},
          QStringList{"--convert", "--files0-from", "-", "--files-from=-"},
          QStringList{"--files-from", "l.txt"}})
        EXPECT_EQ(ParseCommandLine(wrong).RunMode, CommandLineOptions::Mode::UsageError)
            << wrong.join(' ').toStdString();
}

TEST(GivenPaths, ListsAreReadInTheirPlaceAndTheirProblemsNamed)
{
    TempDir dir;
    CommandLineOptions options;
    options.Paths = QStringList{"first", "last"};
    options.Lists = {{dir.Write("lines", "m\nn\n"), ListSeparator::Line, 1},
                     {dir.Write("nul", QByteArray("o\0\0", 3)), ListSeparator::Nul, 1},
                     {dir.File("missing"), ListSeparator::Line, 2},
                     {dir.Path(), ListSeparator::Nul, 2}};
    const GivenPaths given = ReadGivenPaths(options);
    EXPECT_EQ(given.Paths, QStringList({"first", "m", "n", "o", "last"}));
    ASSERT_EQ(given.Problems.size(), 3) << given.Problems.join('\n').toStdString();
    EXPECT_EQ(given.Problems[0],
              "korumi: name 2 in the list of files " + dir.File("nul") + " is empty; it names no file");
    EXPECT_TRUE(
        given.Problems[1].startsWith("korumi: cannot read the list of files " + dir.File("missing") + ": "));
    EXPECT_TRUE(given.Problems[2].startsWith("korumi: cannot read the list of files " + dir.Path() + ": "));
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
    const QString a = media.Write("a.avi", "a");
    standardInput.clear(); // a pipe this test keeps open
    start({"--convert", "--files-from", "-"});
    ASSERT_TRUE(process.waitForStarted());
    process.write((a + "\n").toUtf8());
    // Waiting in read(0, ...) for the rest of the list.
    const QString syscall = QStringLiteral("/proc/%1/syscall").arg(process.processId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadBytes(syscall).startsWith("0 0x0 "); }, 60000));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    finish();
    EXPECT_EQ(exitCode, 130) << standardError.toStdString();
    EXPECT_FALSE(QDir(out).exists()) << "nothing was started";

    // `korumi ... <&-`: standard input is closed, not some file Korumi opened in its place.
    QProcess closed;
    closed.setProcessEnvironment(bareEnvironment());
    closed.start("sh", {"-c", "exec \"$0\" --convert --files-from - <&-", programDir.File("korumi")});
    ASSERT_TRUE(closed.waitForFinished(60000));
    EXPECT_EQ(closed.exitCode(), 1);
    EXPECT_EQ(closed.readAllStandardError(), "korumi: no files to convert\n");
}

} // namespace
