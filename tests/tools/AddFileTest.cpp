// addfile.exe registers finished files in the playlist of a (temporary) home folder.
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

constexpr int ConcurrentRegistrations = 8;

class AddFile : public ::testing::Test
{
protected:
    AddFile()
    {
        m_environment.insert(QStringLiteral("HOME"), m_home.Path());
        m_environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    }

    ProgramRun add(const QString& argument) const
    {
        return RunProgram(AddFileProgram(), {argument}, {}, m_environment);
    }

    QString playlist(const QString& videos = QStringLiteral("Videos")) const
    {
        QFile file(m_home.File(videos + QStringLiteral("/Korumi.m3u")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    TempDir m_home;
    TempDir m_files;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(AddFile, RegistersAQuotedPathOnceWithItsLengthAndTitle)
{
    ClipSpec spec;
    spec.FileName = QStringLiteral("my clip.mp4");
    const QString clip = MakeClip(m_files.Path(), spec);
    ASSERT_FALSE(clip.isEmpty());

    // Korumi hands the path over in double quotes; a bare path, or another spelling of its
    // folder, means the same file.
    EXPECT_EQ(add(u'"' + clip + u'"').ExitCode, 0);
    EXPECT_EQ(add(clip).ExitCode, 0);
    EXPECT_EQ(add(m_files.Path() + QStringLiteral("//./sub/../my clip.mp4")).ExitCode, 0);

    EXPECT_EQ(playlist(), QStringLiteral("#EXTM3U\n#EXTINF:2,my clip\n") + clip + u'\n');
}

TEST_F(AddFile, AppendsToAnExistingPlaylist)
{
    const QString first = m_files.Write(QStringLiteral("a.mp4"), "not really a video");
    const QString second = m_files.Write(QStringLiteral("b.mp4"), "nor this");
    // A playlist left without a final line break by some other program.
    m_home.Write(QStringLiteral("Videos/Korumi.m3u"), "#EXTM3U\n#EXTINF:-1,a\n" + QFile::encodeName(first));

    EXPECT_EQ(add(first).ExitCode, 0);
    EXPECT_EQ(add(second).ExitCode, 0);

    // ffprobe cannot tell their length: -1 stands for unknown.
    EXPECT_EQ(playlist(), QStringLiteral("#EXTM3U\n#EXTINF:-1,a\n%1\n#EXTINF:-1,b\n%2\n").arg(first, second));
}

TEST_F(AddFile, MissingFileFailsAndChangesNothing)
{
    const ProgramRun run = add(u'"' + m_files.File(QStringLiteral("gone.mp4")) + u'"');

    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Errors.contains("gone.mp4")) << run.Errors.toStdString();
    EXPECT_TRUE(QDir(m_home.Path()).isEmpty());
}

TEST_F(AddFile, UsesTheVideosFolderOfTheUsersDirectories)
{
    m_home.Write(QStringLiteral(".config/user-dirs.dirs"),
                 "# written by xdg-user-dirs-update\nXDG_VIDEOS_DIR=\"$HOME/ビデオ\"\n");
    const QString clip = m_files.Write(QStringLiteral("x.mp4"), "x");

    EXPECT_EQ(add(clip).ExitCode, 0);

    EXPECT_TRUE(playlist(QStringLiteral("ビデオ")).endsWith(clip + u'\n'));
    EXPECT_FALSE(QDir(m_home.File(QStringLiteral("Videos"))).exists());
}

TEST_F(AddFile, AwkwardNamesStayOneEntryEach)
{
    const QString plain = m_files.Write(QStringLiteral("-a \"q\" $HOME 映像.mp4"), "x");
    const QString broken = m_files.Write(QStringLiteral("two\nlines.mp4"), "x");

    EXPECT_EQ(add(plain).ExitCode, 0);
    EXPECT_EQ(add(broken).ExitCode, 0);
    EXPECT_EQ(add(broken).ExitCode, 0);

    const QStringList lines = playlist().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], QStringLiteral("#EXTINF:-1,-a \"q\" $HOME 映像"));
    EXPECT_EQ(lines[2], plain);
    EXPECT_EQ(lines[3], QStringLiteral("#EXTINF:-1,two lines"));
    EXPECT_EQ(lines[4], QStringLiteral("file://") +
                            QString::fromLatin1(QUrl::toPercentEncoding(m_files.Path(), "/")) +
                            QStringLiteral("/two%0Alines.mp4"));
}

TEST_F(AddFile, SimultaneousRegistrationsNeverInterleave)
{
    std::vector<std::unique_ptr<QProcess>> processes;
    QStringList clips;
    for (int i = 0; i < ConcurrentRegistrations; ++i) {
        clips << m_files.Write(QStringLiteral("clip%1.mp4").arg(i), "x");
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_environment);
        process->start(AddFileProgram(), {clips.last()});
        processes.push_back(std::move(process));
    }
    for (const auto& process : processes) {
        ASSERT_TRUE(process->waitForFinished());
        EXPECT_EQ(process->exitCode(), 0);
    }

    const QStringList lines = playlist().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 2 * ConcurrentRegistrations);
    EXPECT_EQ(lines.first(), QStringLiteral("#EXTM3U"));
    QStringList listed;
    for (int i = 1; i < lines.size(); i += 2) {
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral("#EXTINF:"))) << lines[i].toStdString();
        EXPECT_TRUE(lines[i].endsWith(QFileInfo(lines[i + 1]).completeBaseName()));
        listed << lines[i + 1];
    }
    listed.sort();
    clips.sort();
    EXPECT_EQ(listed, clips);
}

} // namespace
