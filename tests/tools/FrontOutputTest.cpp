// The encoder front's outputs are whole or absent: a user's file of the target's name survives
// every failed or stopped encode, and no temporary file stays behind.
#include "conversion/CommandLine.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"
#include "tests/tools/StalledFeed.h"
#include "tests/tools/ToolRun.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int PatienceMs = 60000;
const QByteArray UsersFile("a file of the user's that has the target's name");

ConversionSettings settingsFor(const QString& outputFolder, const char* codec = "MPEG4")
{
    ConversionSettings settings;
    settings.VideoCodec = QString::fromLatin1(codec);
    settings.PictureSizeIndex = 0; // 640x480
    settings.FrameRate = 10;
    settings.OutputFolder = outputFolder;
    return settings;
}

// Unmounts a folder when it goes.
class Unmount
{
public:
    explicit Unmount(QString folder) : m_folder(std::move(folder)) {}
    ~Unmount() { QProcess::execute(QStringLiteral("umount"), {m_folder}); }
    Unmount(const Unmount&) = delete;
    Unmount& operator=(const Unmount&) = delete;

private:
    QString m_folder;
};

// Runs the front on `source`: as this user or, when `asOrdinaryUser` and this is root, as nobody.
ProgramRun convert(const TempDir& temp, const QString& source, const QString& outputFolder,
                   bool asOrdinaryUser = false)
{
    const Command command =
        ConversionCommand(source, TargetPathFor(source, outputFolder), 1, settingsFor(outputFolder));
    QString program = FrontProgram();
    QStringList arguments = command.Arguments();
    if (asOrdinaryUser && geteuid() == 0) {
        arguments = QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups", program} + arguments;
        program = QStringLiteral("setpriv");
    }
    return RunProgram(program, arguments, {}, FrontEnvironment(temp));
}

// Noise, which no encoder can make small: its conversion needs far more than 1 MB.
QString noiseClip(const QString& folder)
{
    const QString path = folder + QStringLiteral("/clip.avi");
    const ProgramRun made =
        RunProgram(QStringLiteral("ffmpeg"),
                   {"-v", "error", "-f", "lavfi", "-i",
                    "nullsrc=s=320x240:r=10:d=3,geq=random(1)*255:128:128", "-q:v", "2", path});
    return made.ExitCode == 0 ? path : QString();
}

ProgramRun stoppedWhileEncoding(const TempDir& temp, const ConversionSettings& settings)
{
    ClipSpec spec;
    spec.FileName = QStringLiteral("clip.y4m");
    spec.Seconds = 10;
    spec.Audio = false;
    const QString clip = MakeClip(temp.MakeDir(QStringLiteral("file")), spec);
    const QString fifo = temp.MakeDir(QStringLiteral("pipe")) + QStringLiteral("/clip.y4m");
    StalledFeed feed(fifo, clip, 0.4);
    QProcess front;
    front.setProcessEnvironment(FrontEnvironment(temp));
    front.setStandardInputFile(QProcess::nullDevice());
    front.start(FrontProgram(),
                ConversionCommand(fifo, TargetPathFor(fifo, settings.OutputFolder), 1, settings).Arguments());
    EXPECT_TRUE(WaitForOutputLine(front, "progress=")) << "the encode never started";
    front.terminate();
    front.waitForFinished(PatienceMs);
    return {front.exitCode(), front.exitStatus() == QProcess::CrashExit, front.readAllStandardError()};
}

enum class Failure { NotVideo, Stopped, FullDisk, WriteProtected };

struct FailureCase {
    const char* name;
    Failure failure;
    const char* reason; // what the last line of the error output says
};

void PrintTo(const FailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class FailedEncode : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(FailedEncode, LeavesTheUsersFileAndNoTemporaryFile)
{
    const FailureCase& c = GetParam();
    if (c.failure == Failure::FullDisk && geteuid() != 0)
        GTEST_SKIP() << "mounting a small disk needs root";
    TempDir temp;
    const QString out = temp.MakeDir(QStringLiteral("out"));
    std::optional<Unmount> disk;
    if (c.failure == Failure::FullDisk) {
        if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=1m", "tmpfs", out}) != 0)
            GTEST_SKIP() << "no tmpfs could be mounted";
        disk.emplace(out);
    }
    const QString target = temp.Write(QStringLiteral("out/clip.mp4"), UsersFile);
    if (c.failure == Failure::WriteProtected) {
        // The user's own file, which the folder would let a rename replace.
        QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        chmod(QFile::encodeName(out).constData(), 0777);
        chmod(QFile::encodeName(temp.Path()).constData(), 0755);
        if (geteuid() == 0) {
            ASSERT_EQ(chown(QFile::encodeName(target).constData(), 65534, 65534), 0);
        }
    }

    ProgramRun run;
    if (c.failure == Failure::Stopped) {
        run = stoppedWhileEncoding(temp, settingsFor(out));
    } else {
        const QString source =
            c.failure == Failure::NotVideo   ? temp.Write(QStringLiteral("in/clip.avi"), "not a video at all")
            : c.failure == Failure::FullDisk ? noiseClip(temp.MakeDir(QStringLiteral("in")))
                                             : MakeClip(temp.MakeDir(QStringLiteral("in")));
        ASSERT_FALSE(source.isEmpty());
        run = convert(temp, source, out, c.failure == Failure::WriteProtected);
    }

    EXPECT_TRUE(run.Crashed || run.ExitCode != 0);
    EXPECT_TRUE(LastLine(run.Errors).contains(c.reason)) << run.Errors.toStdString();
    EXPECT_EQ(ReadBytes(target), UsersFile);
    EXPECT_EQ(Entries(out), QStringList{QStringLiteral("clip.mp4")});
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailedEncode,
    ::testing::Values(FailureCase{"SourceIsNoVideo", Failure::NotVideo, "Invalid data found"},
                      FailureCase{"Stopped", Failure::Stopped, "clip.mp4: stopped before the end"},
                      FailureCase{"WriteProtectedTarget", Failure::WriteProtected,
                                  "clip.mp4: Permission denied"},
                      FailureCase{"DiskFull", Failure::FullDisk,
                                  "clip.mp4: the output is incomplete (No space left on device)"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(FrontOutput, ASourceCutOffFailsAsShorterThanTheLengthItDeclares)
{
    // A header that still tells the whole length, data that ends early: ffmpeg succeeds on what is
    // there. An AVI's length is then guessed from what is left; its header counts the frames.
    const struct {
        const char* name;
        double seconds;
        int keptShare;
        const char* reason;
    } cases[] = {{"clip.mkv", 30, 10, "s long, its source 30."},
                 {"clip.avi", 20, 2, "s long, its source 20."}};
    for (const auto& c : cases) {
        TempDir temp;
        ClipSpec spec;
        spec.FileName = QString::fromLatin1(c.name);
        spec.Seconds = c.seconds;
        const QString source = MakeClip(temp.MakeDir(QStringLiteral("in")), spec);
        ASSERT_FALSE(source.isEmpty());
        ASSERT_TRUE(QFile::resize(source, QFileInfo(source).size() / c.keptShare));
        const QString out = temp.MakeDir(QStringLiteral("out"));

        const ProgramRun run = convert(temp, source, out);

        EXPECT_EQ(run.ExitCode, 1) << c.name;
        EXPECT_TRUE(LastLine(run.Errors).contains(c.reason)) << run.Errors.toStdString();
        EXPECT_EQ(Entries(out), QStringList()) << c.name;
    }
}

TEST(FrontOutput, ASourceStillBeingWrittenIsNoOutput)
{
    TempDir temp;
    const QString out = temp.MakeDir(QStringLiteral("out"));
    ClipSpec spec;
    spec.FileName = QStringLiteral("recording.ts");
    spec.Seconds = 20;
    spec.Size = {640, 480};
    const QString source = MakeClip(temp.MakeDir(QStringLiteral("in")), spec);
    ASSERT_FALSE(source.isEmpty());
    const QByteArray more = ReadBytes(source).left(188 * 100); // as a recorder goes on writing
    const auto grow = [&] {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(more);
    };
    ConversionSettings settings = settingsFor(out, "LIBX264");
    const QString target = TargetPathFor(source, out);

    // Between the passes of a two-pass conversion.
    settings.TwoPass = true;
    ASSERT_EQ(RunProgram(FrontProgram(), ConversionCommand(source, target, 1, settings).Arguments(), {},
                         FrontEnvironment(temp))
                  .ExitCode,
              0);
    grow();
    ProgramRun run = RunProgram(FrontProgram(), ConversionCommand(source, target, 2, settings).Arguments(),
                                {}, FrontEnvironment(temp));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(LastLine(run.Errors)
                    .endsWith("recording.ts: the source is still being written (it changed while "
                              "it was converted)"))
        << run.Errors.toStdString();
    EXPECT_EQ(Entries(out), QStringList());

    // While a single pass reads it.
    settings.TwoPass = false;
    QProcess front;
    front.setProcessEnvironment(FrontEnvironment(temp));
    front.setStandardInputFile(QProcess::nullDevice());
    front.start(FrontProgram(), ConversionCommand(source, target, 1, settings).Arguments());
    ASSERT_TRUE(WaitForOutputLine(front, "progress=continue")) << "the encode never started";
    grow();
    ASSERT_TRUE(front.waitForFinished(PatienceMs));
    EXPECT_EQ(front.exitCode(), 1);
    EXPECT_TRUE(front.readAllStandardError().contains("the source is still being written"));
    EXPECT_EQ(Entries(out), QStringList());
}

TEST(FrontOutput, TemporaryFilesGoOnlyOnceTheirWritersAreProvablyGone)
{
    TempDir temp;
    const QString source = MakeClip(temp.MakeDir(QStringLiteral("in")));
    ASSERT_FALSE(source.isEmpty());
    const QString out = temp.MakeDir(QStringLiteral("out"));
    // A live writer, here or on another machine, holds the lock on its file: its name tells
    // nothing of the writer, whose pid means nothing on this machine.
    const QString live = QStringLiteral(".b.mp4.korumi-tmp-Ab3dE9.mp4");
    const int writer = open(QFile::encodeName(temp.Write("out/" + live, "being written")), O_RDWR);
    ASSERT_EQ(flock(writer, LOCK_EX), 0);
    const QStringList kept{
        live,
        QStringLiteral("b.mp4.korumi-tmp-Ab3dE9.mp4"), // not hidden
        QStringLiteral(".notes.korumi-tmp-draft.txt"), // not one of the front's names
    };
    const QStringList orphaned{QStringLiteral(".b.mp4.korumi-tmp-xY12zz.mp4"),
                               QStringLiteral("._thumb.jpg.korumi-tmp-000000.jpg")};
    for (const QString& name : kept.mid(1) + orphaned)
        temp.Write("out/" + name, "left by a writer that was killed");

    const ProgramRun run = convert(temp, source, out);

    close(writer);
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    QStringList expected = kept + QStringList{QStringLiteral("clip.mp4")};
    expected.sort();
    EXPECT_EQ(Entries(out), expected);
}

TEST(FrontOutput, AWholeOutputIsOnTheDiskBeforeItTakesItsName)
{
    if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
        GTEST_SKIP() << "strace is not installed";
    TempDir temp;
    const QString source = MakeClip(temp.MakeDir(QStringLiteral("in")));
    ASSERT_FALSE(source.isEmpty());
    const QString out = temp.MakeDir(QStringLiteral("out"));
    const QString trace = temp.File(QStringLiteral("trace"));
    const Command command = ConversionCommand(source, out + "/clip.mp4", 1, settingsFor(out));

    QProcessEnvironment environment = FrontEnvironment(temp);
    // The leak checker of a sanitizer build cannot work under a tracer.
    environment.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":detect_leaks=0");
    const ProgramRun run =
        RunProgram(QStringLiteral("strace"),
                   QStringList{"-f", "-y", "-o", trace, "-e",
                               "trace=fsync,fdatasync,rename,renameat,renameat2", FrontProgram()} +
                       command.Arguments(),
                   {}, environment);

    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    // The calls that matter, in order: the file synced, renamed onto the target, the folder synced.
    const QRegularExpression calls(
        QStringLiteral("(sync\\(\\d+<(\\S+)>\\)|rename\\(\"(.+)\", \"(.+)\"\\))\\s+= 0"));
    QStringList steps;
    for (QRegularExpressionMatchIterator found = calls.globalMatch(QString::fromUtf8(ReadBytes(trace)));
         found.hasNext();) {
        const QRegularExpressionMatch call = found.next();
        steps << (call.captured(2).isEmpty() ? "rename " + call.captured(3) + " " + call.captured(4)
                                             : "sync " + call.captured(2));
    }
    ASSERT_EQ(steps.size(), 3) << steps.join(u'\n').toStdString();
    EXPECT_TRUE(steps[0].startsWith("sync " + out + "/.clip.mp4.korumi-tmp-")) << steps[0].toStdString();
    EXPECT_EQ(steps[1], "rename " + steps[0].mid(5) + " " + out + "/clip.mp4");
    EXPECT_EQ(steps[2], "sync " + out);
}

QString shellWords(const QString& program, const QStringList& arguments)
{
    QString line;
    for (QString word : QStringList{program} + arguments)
        line += QStringLiteral(" '") + word.replace(u'\'', QStringLiteral("'\\''")) + u'\'';
    return line;
}

TEST(FrontOutput, TwoRunsConvertingOneSourceToOneTargetAtOnceKeepApart)
{
    TempDir temp;
    ClipSpec spec;
    spec.Seconds = 5;
    spec.Size = {320, 240};
    const QString source = MakeClip(temp.MakeDir(QStringLiteral("in")), spec);
    ASSERT_FALSE(source.isEmpty());
    ConversionSettings settings = settingsFor(temp.MakeDir(QStringLiteral("out")), "MPEG4");
    settings.TwoPass = true;
    QProcess runs[2];
    for (int frameRate : {10, 25}) {
        // Logs of different frame counts: a pass given the other run's log fails on it.
        settings.FrameRate = frameRate;
        // Each shell is a run of its own, named as Korumi names its runs; each pass has a
        // subshell of its own between it and the run.
        const QString target = TargetPathFor(source, settings.OutputFolder);
        const QString script =
            QStringLiteral("set -e; export KORUMI_RUN=$$; (") +
            shellWords(FrontProgram(), ConversionCommand(source, target, 1, settings).Arguments()) +
            QStringLiteral("; exit $?); (") +
            shellWords(FrontProgram(), ConversionCommand(source, target, 2, settings).Arguments()) +
            QStringLiteral("; exit $?)");
        QProcess& run = runs[frameRate == 10 ? 0 : 1];
        run.setProcessEnvironment(FrontEnvironment(temp));
        run.setStandardInputFile(QProcess::nullDevice());
        run.setStandardOutputFile(QProcess::nullDevice());
        run.start(QStringLiteral("sh"), {QStringLiteral("-c"), script});
    }
    for (QProcess& run : runs) {
        ASSERT_TRUE(run.waitForFinished(PatienceMs * 5));
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    }

    const ProgramRun decode =
        RunProgram(QStringLiteral("ffmpeg"),
                   {"-v", "error", "-i", TargetPathFor(source, settings.OutputFolder), "-f", "null", "-"});
    EXPECT_EQ(decode.ExitCode, 0);
    EXPECT_EQ(decode.Errors, QByteArray());
    EXPECT_EQ(Entries(temp.File(QStringLiteral("runtime/korumi-passlog"))), QStringList());
}

} // namespace
