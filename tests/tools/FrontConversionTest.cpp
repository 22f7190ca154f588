// The encoder front on Korumi's real conversion command lines, checked with ffprobe.
#include "conversion/CommandLine.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

constexpr int MaxLevel = 40; // level 4.0, the highest the devices promise to play

struct ConversionCase {
    const char* name;
    ClipSpec clip;
    const char* codec;
    int sizeIndex;
    int sampleRateIndex;
    bool twoPass;
    const char* expectedCodec;
    int width;
    int height;
    const char* aspect;
    int sampleRate;
};

void PrintTo(const ConversionCase& c, std::ostream* out)
{
    *out << c.name;
}

ClipSpec clip(const QString& fileName, double seconds, bool audio)
{
    ClipSpec spec;
    spec.FileName = fileName;
    spec.Seconds = seconds;
    spec.Audio = audio;
    return spec;
}

QString passLogFolder(const TempDir& temp)
{
    return temp.File(QStringLiteral("runtime/korumi-passlog"));
}

ConversionSettings settingsFor(const ConversionCase& c, const QString& outputFolder)
{
    ConversionSettings settings;
    settings.FrameRate = 10;
    settings.VideoBitRate = 512;
    settings.AudioBitRate = 64;
    settings.VideoCodec = QString::fromLatin1(c.codec);
    settings.PictureSizeIndex = c.sizeIndex;
    settings.SampleRateIndex = c.sampleRateIndex;
    settings.TwoPass = c.twoPass;
    settings.OutputFolder = outputFolder;
    return settings;
}

// Runs every pass of the conversion of `source` as the batch run does; returns the target.
QString convert(const QString& source, const ConversionSettings& settings, const QString& workingFolder,
                const QProcessEnvironment& environment)
{
    const QString target = TargetPathFor(source, settings.OutputFolder);
    const int passes = settings.TwoPass ? 2 : 1;
    for (int pass = 1; pass <= passes; ++pass) {
        const ProgramRun run =
            RunProgram(FrontProgram(), ConversionCommand(source, target, pass, settings).Arguments(),
                       workingFolder, environment);
        EXPECT_EQ(run.ExitCode, 0) << "pass " << pass << ": " << run.Errors.toStdString();
    }
    return target;
}

// The names of the top-level boxes of an MP4 file, in order.
QStringList topLevelBoxes(const QString& path)
{
    constexpr int HeaderSize = 8; // 32-bit size, then the type
    QFile file(path);
    QStringList boxes;
    if (!file.open(QIODevice::ReadOnly))
        return boxes;
    for (qint64 at = 0; at + HeaderSize <= file.size();) {
        file.seek(at);
        const QByteArray header = file.read(HeaderSize);
        boxes << QString::fromLatin1(header.mid(4, 4));
        const quint32 size = (quint32(quint8(header[0])) << 24) | (quint32(quint8(header[1])) << 16) |
                             (quint32(quint8(header[2])) << 8) | quint32(quint8(header[3]));
        if (size < HeaderSize) // 64-bit and to-the-end sizes do not occur in these small files
            break;
        at += size;
    }
    return boxes;
}

QString text(const QJsonObject& stream, const char* key)
{
    return stream.value(QLatin1String(key)).toString();
}

class FrontConversion : public ::testing::TestWithParam<ConversionCase>
{
};

TEST_P(FrontConversion, WritesAnAppleReadyMp4AtTheRequestedSettings)
{
    const ConversionCase& c = GetParam();
    TempDir temp;
    const QString source = MakeClip(temp.MakeDir(QStringLiteral("in")), c.clip);
    ASSERT_FALSE(source.isEmpty());
    // A working folder nobody may write to: nothing may land there.
    const QString working = temp.MakeDir(QStringLiteral("working"));
    chmod(QFile::encodeName(working).constData(), 0555);

    const QString target =
        convert(source, settingsFor(c, temp.MakeDir(QStringLiteral("out"))), working, FrontEnvironment(temp));

    const QJsonObject probe = Probe(target);
    const QJsonObject video = StreamOf(probe, QStringLiteral("video"));
    ASSERT_FALSE(video.isEmpty()) << "no video in " << target.toStdString();
    EXPECT_EQ(text(video, "codec_name"), QString::fromLatin1(c.expectedCodec));
    EXPECT_EQ(video.value(QStringLiteral("width")).toInt(), c.width);
    EXPECT_EQ(video.value(QStringLiteral("height")).toInt(), c.height);
    EXPECT_EQ(text(video, "display_aspect_ratio"), QString::fromLatin1(c.aspect));
    EXPECT_EQ(text(video, "pix_fmt"), QStringLiteral("yuv420p"));
    if (text(video, "codec_name") == QStringLiteral("h264")) {
        EXPECT_EQ(text(video, "profile"), QStringLiteral("High"));
        EXPECT_LE(video.value(QStringLiteral("level")).toInt(), MaxLevel);
    }
    const QJsonObject audio = StreamOf(probe, QStringLiteral("audio"));
    if (c.clip.Audio) {
        EXPECT_EQ(text(audio, "codec_name"), QStringLiteral("aac"));
        EXPECT_EQ(text(audio, "sample_rate").toInt(), c.sampleRate);
    } else {
        EXPECT_TRUE(audio.isEmpty());
    }
    // Fast start: the index comes before the media data, so playback can begin at once.
    const QStringList boxes = topLevelBoxes(target);
    EXPECT_TRUE(boxes.contains(QStringLiteral("mdat")));
    EXPECT_LT(boxes.indexOf(QStringLiteral("moov")), boxes.indexOf(QStringLiteral("mdat")));
    EXPECT_EQ(Entries(working), QStringList());
    EXPECT_EQ(Entries(passLogFolder(temp)), QStringList());
    EXPECT_EQ(Entries(temp.File(QStringLiteral("out"))), QStringList{QFileInfo(target).fileName()});
}

INSTANTIATE_TEST_SUITE_P(
    Clips, FrontConversion,
    ::testing::Values(ConversionCase{"AviToH264At640x480", clip("clip.avi", 3, true), "LIBX264", 0, 1, false,
                                     "h264", 640, 480, "4:3", 44100},
                      ConversionCase{"SilentMkvToMpeg4At720x480", clip("clip.mkv", 2, false), "MPEG4", 1, 0,
                                     false, "mpeg4", 720, 480, "16:9", 48000},
                      ConversionCase{"MovToH264TwoPassAt960x540", clip("clip.mov", 2, true), "LIBX264", 2, 2,
                                     true, "h264", 960, 540, "16:9", 22050},
                      ConversionCase{"AviToMpeg4TwoPassAt1280x720", clip("clip.avi", 2, true), "MPEG4", 3, 4,
                                     true, "mpeg4", 1280, 720, "16:9", 8000},
                      ConversionCase{"MkvToH264At1280x720", clip("clip.mkv", 2, true), "LIBX264", 3, 3, false,
                                     "h264", 1280, 720, "16:9", 11025},
                      ConversionCase{"SilentMovToH264TwoPass", clip("clip.mov", 2, false), "LIBX264", 1, 1,
                                     true, "h264", 720, 480, "16:9", 44100},
                      ConversionCase{"AwkwardNamesTwoPass",
                                     clip(QStringLiteral("-a \"q\" $HOME\nクリップ 1.avi"), 2, true),
                                     "LIBX264", 0, 1, true, "h264", 640, 480, "4:3", 44100}),
    [](const ::testing::TestParamInfo<ConversionCase>& info) { return std::string(info.param.name); });

// The brightness of each column of the first frame of a video, 0 to 255.
QList<int> ColumnBrightness(const QString& video, int width, int height)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-i", video, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray", "-"});
    ffmpeg.waitForFinished();
    const QByteArray pixels = ffmpeg.readAllStandardOutput();
    QList<int> columns(width, 0);
    if (pixels.size() != width * height)
        return {};
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y)
            columns[x] += quint8(pixels[y * width + x]);
        columns[x] /= height;
    }
    return columns;
}

TEST(FrontConversion, PicturesKeepTheirProportionsCentredWithBlackAtTheSides)
{
    struct Case {
        const char* name;
        const char* size;
        bool turned;   // tagged to be shown turned by 90 degrees
        int blackUpTo; // the columns from the left (and as many from the right) that are black
    };
    const Case cases[] = {
        {"FourToThree", "640x480", false, 90},
        {"Widescreen", "1280x720", false, 0},
        {"Portrait", "480x848", false, 245},
        {"TurnedByItsRotationTag", "640x360", true, 250},
    };
    for (const Case& c : cases) {
        TempDir temp;
        // An even grey picture, so that any black is padding.
        const QString plain = temp.File(QStringLiteral("plain.mp4"));
        QProcess::execute("ffmpeg", {"-v", "error", "-f", "lavfi", "-i",
                                     QStringLiteral("color=c=0x808080:s=%1:r=10:d=1").arg(c.size), "-pix_fmt",
                                     "yuv420p", plain});
        const QString source = temp.File(QStringLiteral("source.mp4"));
        QProcess::execute("ffmpeg", {"-v", "error", "-i", plain, "-c", "copy", "-metadata:s:v:0",
                                     c.turned ? "rotate=90" : "rotate=0", source});
        ConversionCase conversion{};
        conversion.codec = "LIBX264";
        conversion.sizeIndex = 1; // 720x480 shown at 16:9
        const QString target = convert(source, settingsFor(conversion, temp.MakeDir(QStringLiteral("out"))),
                                       temp.Path(), FrontEnvironment(temp));
        const QList<int> columns = ColumnBrightness(target, 720, 480);
        ASSERT_EQ(columns.size(), 720) << c.name;
        const auto black = [&](int x) { return columns[x] < 40; };
        for (int x : {0, 719})
            EXPECT_EQ(black(x), c.blackUpTo > 0) << c.name << " column " << x;
        if (c.blackUpTo > 0) {
            EXPECT_TRUE(black(c.blackUpTo - 8) && black(719 - c.blackUpTo + 8)) << c.name;
            EXPECT_FALSE(black(c.blackUpTo + 8) || black(719 - c.blackUpTo - 8)) << c.name;
        }
    }
}

TEST(FrontConversion, TwoPassRunsWhereNothingCanBeWritten)
{
    TempDir temp;
    const QString source = MakeClip(temp.Path());
    ASSERT_FALSE(source.isEmpty());
    ConversionCase c{};
    c.codec = "LIBX264";
    c.twoPass = true;
    // /proc refuses new files even to root, unlike a folder that is merely read-only.
    const QString target = convert(source, settingsFor(c, temp.MakeDir(QStringLiteral("out"))),
                                   QStringLiteral("/proc"), FrontEnvironment(temp));
    EXPECT_FALSE(StreamOf(Probe(target), QStringLiteral("video")).isEmpty());
    EXPECT_EQ(Entries(passLogFolder(temp)), QStringList());
}

TEST(FrontConversion, RelativeNamesThatLookLikeOptionsOrProtocols)
{
    TempDir temp;
    ASSERT_FALSE(MakeClip(temp.Path(), clip(QStringLiteral("-in:put.avi"), 2, true)).isEmpty());
    const ProgramRun run =
        RunProgram(FrontProgram(), {"-i",      "-in:put.avi", "-y",    "-flags",      "bitexact", "-s",
                                    "640x480", "-aspect",     "4:3",   "-vcodec",     "mpeg4",    "-b",
                                    "512k",    "-r",          "10",    "-acodec",     "libfaac",  "-ab",
                                    "64k",     "-ar",         "44100", "-out:put.mp4"},
                   temp.Path(), FrontEnvironment(temp));
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_FALSE(
        StreamOf(Probe(temp.File(QStringLiteral("-out:put.mp4"))), QStringLiteral("video")).isEmpty());
}

TEST(FrontConversion, FailsLikeFfmpegOnAMissingSource)
{
    TempDir temp;
    ConversionCase c{};
    c.codec = "LIBX264";
    const Command command =
        ConversionCommand(temp.File(QStringLiteral("none.avi")), temp.File(QStringLiteral("none.mp4")), 1,
                          settingsFor(c, temp.Path()));
    const ProgramRun run =
        RunProgram(FrontProgram(), command.Arguments(), temp.Path(), FrontEnvironment(temp));
    EXPECT_NE(run.ExitCode, 0);
    EXPECT_TRUE(run.Errors.contains("none.avi")) << run.Errors.toStdString();
}

} // namespace
