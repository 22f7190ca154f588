// Killing the encoder front while ffmpeg works must leave no ffmpeg behind.
#include "conversion/CommandLine.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"
#include "tests/tools/StalledFeed.h"
#include "tests/tools/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{

// Generous limits for a loaded machine; reaching one fails the test instead of hanging it.
constexpr int PatienceMs = 60000;
// How much of the source reaches ffmpeg before the feed stalls: enough to start encoding.
constexpr double FedShare = 0.4;

enum class Job { SinglePass, SecondPass, Thumbnail };

struct KillCase {
    const char* name;
    Job job;
    bool hard; // SIGKILL rather than SIGTERM
};

void PrintTo(const KillCase& c, std::ostream* out)
{
    *out << c.name;
}

// The id of a running process started as `program` whose command line names `needle`; 0 when
// there is none.
pid_t findProcess(const QByteArray& program, const QString& needle)
{
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile file(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
        const QByteArray commandLine = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (commandLine.startsWith(program + '\0') && commandLine.contains(needle.toUtf8()))
            return pid.toInt();
    }
    return 0;
}

// Told when a process ends, though it is not a child of the test (the ffmpeg a front runs).
class ProcessWatch
{
public:
    explicit ProcessWatch(pid_t pid) : m_fd(int(syscall(SYS_pidfd_open, pid, 0))) {}
    ~ProcessWatch() { close(m_fd); }

    bool WaitForEnd(int ms) const
    {
        pollfd watched{m_fd, POLLIN, 0};
        return poll(&watched, 1, ms) == 1;
    }

private:
    int m_fd;
};

class FrontKill : public ::testing::TestWithParam<KillCase>
{
protected:
    void SetUp() override
    {
        m_runtime = m_temp.MakeDir(QStringLiteral("runtime"));
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
        m_settings.VideoCodec = QStringLiteral("MPEG4");
        m_settings.PictureSizeIndex = 0;
        m_settings.FrameRate = 10;
        m_settings.TwoPass = GetParam().job == Job::SecondPass;
        m_settings.OutputFolder = m_temp.MakeDir(QStringLiteral("out"));
        // Raw video through a pipe: ffmpeg reads it as it comes, with nothing to seek.
        ClipSpec spec;
        spec.FileName = QStringLiteral("clip.y4m");
        spec.Seconds = 10;
        spec.Audio = false;
        m_clip = MakeClip(m_temp.MakeDir(QStringLiteral("file")), spec);
        m_fifo = m_temp.MakeDir(QStringLiteral("pipe")) + QStringLiteral("/clip.y4m");
        m_target = TargetPathFor(m_clip, m_settings.OutputFolder); // the fifo's too: the same name
    }

    // The first pass runs from the whole file, so the second has its pass log.
    void runFirstPass()
    {
        const ProgramRun run =
            RunProgram(FrontProgram(), ConversionCommand(m_clip, m_target, 1, m_settings).Arguments(), {},
                       m_environment);
        ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    }

    Command frontCommand() const
    {
        switch (GetParam().job) {
        case Job::SinglePass:
            return ConversionCommand(m_fifo, m_target, 1, m_settings);
        case Job::SecondPass:
            return ConversionCommand(m_fifo, m_target, 2, m_settings);
        case Job::Thumbnail:
            break;
        }
        return ThumbnailArguments(m_fifo, m_temp.Path());
    }

    TempDir m_temp;
    QString m_runtime;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    ConversionSettings m_settings;
    QString m_clip;
    QString m_fifo;
    QString m_target;
};

TEST_P(FrontKill, LeavesNoFfmpegBehind)
{
    ASSERT_FALSE(m_clip.isEmpty());
    if (GetParam().job == Job::SecondPass) {
        ASSERT_NO_FATAL_FAILURE(runFirstPass());
    }
    StalledFeed feed(m_fifo, m_clip, FedShare);

    QProcess front;
    front.setProcessEnvironment(m_environment);
    front.setStandardInputFile(QProcess::nullDevice());
    const Command command = frontCommand();
    front.start(FrontProgram(), command.Arguments());
    ASSERT_TRUE(front.waitForStarted());
    ASSERT_TRUE(feed.WaitUntilFed()) << "ffmpeg never got to work";
    const pid_t ffmpegPid = findProcess("ffmpeg", m_fifo);
    ASSERT_NE(ffmpegPid, 0) << "no ffmpeg reads the pipe";
    const ProcessWatch ffmpeg(ffmpegPid);

    if (GetParam().hard)
        front.kill();
    else
        front.terminate();
    ASSERT_TRUE(front.waitForFinished(PatienceMs));

    EXPECT_TRUE(ffmpeg.WaitForEnd(PatienceMs)) << "ffmpeg outlived its front";
    if (!GetParam().hard) { // a front that could clean up did, and left the output as it was
        EXPECT_TRUE(QDir(m_runtime + QStringLiteral("/korumi-passlog")).isEmpty());
        EXPECT_EQ(Entries(m_settings.OutputFolder), QStringList());
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, FrontKill,
                         ::testing::Values(KillCase{"SinglePassKilled", Job::SinglePass, true},
                                           KillCase{"SecondPassTerminated", Job::SecondPass, false},
                                           KillCase{"SecondPassKilled", Job::SecondPass, true},
                                           KillCase{"ThumbnailTerminated", Job::Thumbnail, false},
                                           KillCase{"ThumbnailKilled", Job::Thumbnail, true}),
                         [](const ::testing::TestParamInfo<KillCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
