// Killing the encoder front while ffmpeg works must leave no ffmpeg behind.
#include "conversion/CommandLine.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Generous limits for a loaded machine; reaching one fails the test instead of hanging it.
constexpr int PatienceMs = 60000;
constexpr int PollMs = 20;
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

template <typename Condition> bool waitUntil(Condition condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > PatienceMs)
            return false;
        QThread::msleep(PollMs);
    }
    return true;
}

// A named pipe that a source is fed into, partly, so ffmpeg starts and then waits for more.
class StalledFeed
{
public:
    StalledFeed(const QString& fifo, const QByteArray& data) : m_data(data.left(int(data.size() * FedShare)))
    {
        mkfifo(QFile::encodeName(fifo).constData(), 0600);
        // Held open for reading and writing: never blocks, and ffmpeg never sees the end.
        m_fd = open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
    }
    ~StalledFeed() { close(m_fd); }

    // Writes what the pipe takes; true once everything is in.
    bool Feed()
    {
        const ssize_t count = write(m_fd, m_data.constData() + m_written, size_t(m_data.size() - m_written));
        if (count > 0)
            m_written += count;
        return m_written == m_data.size();
    }

private:
    QByteArray m_data;
    qint64 m_written = 0;
    int m_fd = -1;
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
    }

    // The first pass runs from the whole file, so the second has its pass log.
    void runFirstPass()
    {
        const ProgramRun run = RunProgram(
            FrontProgram(), ConversionCommand(m_clip, 1, m_settings).Arguments(), {}, m_environment);
        ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
        QFile::remove(TargetPathFor(m_clip, m_settings.OutputFolder));
    }

    Command frontCommand() const
    {
        switch (GetParam().job) {
        case Job::SinglePass:
            return ConversionCommand(m_fifo, 1, m_settings);
        case Job::SecondPass:
            return ConversionCommand(m_fifo, 2, m_settings);
        case Job::Thumbnail:
            break;
        }
        return ThumbnailArguments(m_fifo, m_temp.Path());
    }

    // ffmpeg is at work: it has written the start of the target, or it is seeking for the picture
    // it will write to its temporary file (which only ffmpeg's own command line names).
    bool busy() const
    {
        if (GetParam().job == Job::Thumbnail)
            return ProcessRunningWith(m_temp.File(QStringLiteral("._thumb.jpg.tmp-")));
        return QFileInfo(TargetPathFor(m_fifo, m_settings.OutputFolder)).size() > 0;
    }

    TempDir m_temp;
    QString m_runtime;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    ConversionSettings m_settings;
    QString m_clip;
    QString m_fifo;
};

TEST_P(FrontKill, LeavesNoFfmpegBehind)
{
    ASSERT_FALSE(m_clip.isEmpty());
    if (GetParam().job == Job::SecondPass) {
        ASSERT_NO_FATAL_FAILURE(runFirstPass());
    }
    QFile clip(m_clip);
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    StalledFeed feed(m_fifo, clip.readAll());

    QProcess front;
    front.setProcessEnvironment(m_environment);
    front.setStandardInputFile(QProcess::nullDevice());
    const Command command = frontCommand();
    front.start(FrontProgram(), command.Arguments());
    ASSERT_TRUE(front.waitForStarted());
    ASSERT_TRUE(waitUntil([&] { return feed.Feed() && busy(); })) << "ffmpeg never got to work";

    if (GetParam().hard)
        front.kill();
    else
        front.terminate();
    ASSERT_TRUE(front.waitForFinished(PatienceMs));

    // The front is gone, so whatever still names the pipe is an ffmpeg left behind.
    EXPECT_TRUE(waitUntil([&] { return !ProcessRunningWith(m_fifo); }));
    if (!GetParam().hard) { // a front that could clean up did
        EXPECT_TRUE(QDir(m_runtime + QStringLiteral("/korumi-passlog")).isEmpty());
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
