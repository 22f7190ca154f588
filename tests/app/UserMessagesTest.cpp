// What the console mode tells a user about trouble they can act on, in real runs.
#include "tests/app/KorumiRun.h"
#include "tests/support/Media.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

class UserMessages : public KorumiRun
{
protected:
    // Runs `command` (a shell line that gets the program as $0) as nobody when we are root, whom
    // no folder permission stops.
    void runAsUser(const QString& command, const QStringList& arguments)
    {
        QStringList line{"-c", command, programDir.File("korumi")};
        QString shell = "bash";
        if (geteuid() == 0) {
            line = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", shell} + line;
            shell = "setpriv";
        }
        process.setProcessEnvironment(bareEnvironment());
        process.start(shell, line + arguments);
        finish();
    }
};

TEST_F(UserMessages, FfmpegMissingEndsTheRunWithOneMessage)
{
    const QString a = MakeClip(media.Path(), {"a.avi", 1});
    const QString b = MakeClip(media.Path(), {"b.avi", 1});
    environmentChanges.insert("PATH", media.MakeDir("empty")); // the front is found, ffmpeg is not
    korumi({"--convert", a, b});
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(standardError.count("ffmpeg が見つかりません。処理を中止します。"), 1)
        << standardError.toStdString();
    EXPECT_FALSE(standardError.contains("終了コード")) << "not one failure per file";
}

TEST_F(UserMessages, APresetFileThatIsAFolderIsReportedOnce)
{
    QFile::remove(programDir.File("profile.txt"));
    programDir.MakeDir("profile.txt");
    korumi({"--convert", media.Write("a.avi", "a")});
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(standardError.count("は開けません"), 1) << standardError.toStdString();
}

TEST_F(UserMessages, ControlCharactersInNamesAreEscapedAndTheFileConvertsAsNamed)
{
    const QString odd = MakeClip(media.Path(), {"two\nlines\t\x1b[31m.avi", 1});
    ASSERT_FALSE(odd.isEmpty());
    const QString broken = media.Write("bro\nken.avi", "not a video");
    korumi({"--convert", "--jobs", "1", broken, odd});

    // Progress lines may come between the others: no line may hold a control character or start
    // with the second half of a name.
    const QStringList lines = standardOutput.split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        EXPECT_FALSE(std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x20; }))
            << line.toStdString();
        EXPECT_FALSE(line.startsWith("lines") || line.startsWith("ken.")) << line.toStdString();
    }
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.startsWith(u'[') &&
               line.endsWith("two\\nlines\\t\\x1b[31m.avi -> two\\nlines\\t\\x1b[31m.mp4");
    })) << standardOutput.toStdString();
    EXPECT_TRUE(standardError.contains("\nbro\\nken.avi : 動画ファイルではないか、壊れています"))
        << standardError.toStdString();
    EXPECT_FALSE(StreamOf(Probe(out + "/two\nlines\t\x1b[31m.mp4"), "video").isEmpty());
}

TEST_F(UserMessages, FoldersThatCannotBeReadAndNamesThatAreNotTextAreNamedOnce)
{
    // Everything here must be reachable by the user the program runs as.
    for (const QString& folder : {programDir.Path(), media.Path(), temporary.Path()})
        chmod(QFile::encodeName(folder).constData(), 0777);
    const QString folder = media.MakeDir("clips");
    chmod(QFile::encodeName(folder).constData(), 0777);
    const QString good = media.Write("clips/good.avi", "g");
    chmod(QFile::encodeName(good).constData(), 0644);
    const QString locked = media.MakeDir("clips/locked");
    chmod(QFile::encodeName(locked).constData(), 0);
    const QByteArray notText = QFile::encodeName(folder) + "/caf\xe9.avi"; // Latin-1, not UTF-8
    close(open(notText.constData(), O_CREAT | O_WRONLY, 0644));

    runAsUser("exec \"$0\" --convert --dry-run \"$1\" $'/nowhere/\\xff.avi'", {folder});
    // So that the folder can be cleaned up: Qt cannot name a file whose name is not text.
    chmod(QFile::encodeName(locked).constData(), 0700);
    unlink(notText.constData());

    EXPECT_EQ(standardError.count("次のフォルダとファイルは読み込めないため、変換対象に加えませんでした。"),
              1)
        << standardError.toStdString();
    EXPECT_TRUE(standardError.contains(locked + " : 読み込めないフォルダです"));
    EXPECT_TRUE(standardError.contains(folder + "/caf\\xe9.avi : 名前が UTF-8 ではありません"));
    EXPECT_TRUE(standardError.contains("/nowhere/\\xff.avi : 名前が UTF-8 ではありません"));
    EXPECT_TRUE(standardOutput.contains(good)) << "the rest still converts";
    EXPECT_EQ(standardOutput.count("ffmpeg.exe"), 1);
}

TEST_F(UserMessages, ATildeFolderMeansTheHomeFolder)
{
    const QString home = media.MakeDir("home");
    environmentChanges.insert("HOME", home);
    programDir.Write("Korumi.ini", "[SET2]\nC11=~/変換済み\n");
    korumi({"--convert", MakeClip(media.Path(), {"a.avi", 1})});
    EXPECT_EQ(exitCode, 0) << standardError.toStdString();
    EXPECT_TRUE(QFile::exists(home + "/変換済み/a.mp4"));
    EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + "/~"));
}

} // namespace
