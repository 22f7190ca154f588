// Sources as people have them, converted by the encoder front on Korumi's default command line
// and checked with ffprobe and ffmpeg's measuring filters: HDR phone clips, colour tags, interlaced
// footage, surround sound, subtitles, capture metadata and slow cameras; plain sources as before.
#include "conversion/CommandLine.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"
#include "tools/ffmpeg-front/FrontPlan.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

namespace
{

// Korumi's default settings: 720x480 at 16:9, H.264 at 2048 kb/s, 30 frames a second.
ConversionSettings defaults(const QString& outputFolder)
{
    ConversionSettings settings;
    settings.VideoCodec = QStringLiteral("LIBX264");
    settings.OutputFolder = outputFolder;
    return settings;
}

class FrontSources : public ::testing::Test
{
protected:
    // Makes `name` with ffmpeg from `arguments` (inputs, filters, codecs); fails the test when it cannot.
    QString make(const QString& name, const QStringList& arguments)
    {
        const QString path = temp.File(QStringLiteral("in/") + name);
        temp.MakeDir(QStringLiteral("in"));
        const ProgramRun made = RunProgram(QStringLiteral("ffmpeg"),
                                           QStringList{"-v", "error", "-y"} + arguments + QStringList{path});
        EXPECT_EQ(made.ExitCode, 0) << made.Errors.toStdString();
        return path;
    }

    // Converts `source` as Korumi does; returns the output's path, empty when the front failed.
    QString convert(const QString& source)
    {
        const QString target = TargetPathFor(source, out);
        const ProgramRun run =
            RunProgram(FrontProgram(), ConversionCommand(source, target, 1, defaults(out)).Arguments(), {},
                       FrontEnvironment(temp));
        lastOutput = run.Output;
        EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
        return run.ExitCode == 0 ? target : QString();
    }

    // What ffmpeg's `filter` prints of each frame of `path`, the key's values averaged.
    static double average(const QString& path, const QString& filter, const QString& key)
    {
        const ProgramRun run =
            RunProgram(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-vf",
                                                  filter + ",metadata=print:file=-", "-f", "null", "-"});
        double sum = 0;
        int count = 0;
        const QRegularExpression line(QRegularExpression::escape(key) + QStringLiteral("=([-0-9.]+)"));
        for (auto match = line.globalMatch(QString::fromUtf8(run.Output)); match.hasNext(); ++count)
            sum += match.next().captured(1).toDouble();
        return count > 0 ? sum / count : -1;
    }

    // The mean luma of the 2x2 pixels at `x`, `y` of the first frame of `path`.
    static double lumaAt(const QString& path, int x, int y)
    {
        return average(path, QStringLiteral("crop=2:2:%1:%2,signalstats").arg(x).arg(y),
                       QStringLiteral("lavfi.signalstats.YAVG"));
    }

    // The RMS level of each audio channel of `path`, in dB.
    static QList<double> channelLevels(const QString& path)
    {
        const ProgramRun run = RunProgram(QStringLiteral("ffmpeg"),
                                          {"-v", "info", "-i", path, "-af", "astats", "-f", "null", "-"});
        QList<double> levels;
        const QRegularExpression line(
            QStringLiteral("Channel: \\d+\\n(?:.*\\n)*?.*RMS level dB: ([-0-9.inf]+)"));
        for (auto match = line.globalMatch(QString::fromUtf8(run.Errors)); match.hasNext();)
            levels << match.next().captured(1).toDouble();
        return levels;
    }

    static QJsonObject video(const QString& path) { return StreamOf(Probe(path), QStringLiteral("video")); }

    TempDir temp;
    QString out = temp.MakeDir(QStringLiteral("out"));
    QByteArray lastOutput; // what the front wrote on its standard output
};

// The PQ code of a light, in 10-bit limited range (SMPTE ST 2084).
int pqCode(double nits)
{
    const double y = std::pow(nits / 10000, 0.1593017578125);
    const double signal = std::pow((0.8359375 + 18.8515625 * y) / (1 + 18.6875 * y), 78.84375);
    return int(64 + 876 * signal + 0.5);
}

const QString SdrToPq =
    QStringLiteral("zscale=tin=709:pin=709:min=709:t=linear:p=709:m=709:npl=203,format=gbrpf32le,"
                   "zscale=p=2020:t=smpte2084:m=2020_ncl:r=tv:npl=203,format=yuv420p10le");
// HLG is graded for a 1000 cd/m² display, where SDR white stands at 203 cd/m² as in PQ.
const QString PqToHlg = QStringLiteral(",format=gbrpf32le,zscale=t=linear:npl=1000,format=gbrpf32le,zscale=t="
                                       "arib-std-b67:npl=1000:m=2020_ncl:r=tv,"
                                       "format=yuv420p10le");

QStringList hevc10(const QString& transfer)
{
    return {"-c:v", "libx265", "-x265-params",
            "colorprim=bt2020:transfer=" + transfer + ":colormatrix=bt2020nc:log-level=error"};
}

TEST_F(FrontSources, HdrIsToneMappedToBt709KeepingTheLookOfItsSdrMasterAndItsHighlights)
{
    const QStringList pattern{"-f", "lavfi", "-i", "testsrc2=s=1280x720:r=25:d=1"};
    const QString sdr = convert(make("sdr.mkv", pattern + QStringList{"-c:v", "libx264"}));
    const QString pq = convert(make("pq.mkv", pattern + QStringList{"-vf", SdrToPq} + hevc10("smpte2084")));
    const QString hlg =
        convert(make("hlg.mkv", pattern + QStringList{"-vf", SdrToPq + PqToHlg} + hevc10("arib-std-b67")));
    ASSERT_FALSE(sdr.isEmpty() || pq.isEmpty() || hlg.isEmpty());

    const double sdrLuma = average(sdr, "signalstats", "lavfi.signalstats.YAVG");
    const double sdrSaturation = average(sdr, "signalstats", "lavfi.signalstats.SATAVG");
    for (const QString& output : {pq, hlg}) {
        const QJsonObject stream = video(output);
        EXPECT_EQ(stream.value("pix_fmt").toString(), "yuv420p");
        EXPECT_EQ(stream.value("profile").toString(), "High");
        for (const char* tag : {"color_primaries", "color_transfer", "color_space"})
            EXPECT_EQ(stream.value(tag).toString(), "bt709") << tag;
        EXPECT_NEAR(average(output, "signalstats", "lavfi.signalstats.YAVG"), sdrLuma, 0.10 * sdrLuma);
        EXPECT_NEAR(average(output, "signalstats", "lavfi.signalstats.SATAVG"), sdrSaturation,
                    0.20 * sdrSaturation);
    }

    // A ramp of PQ codes: lights above reference white keep distinct steps.
    const QStringList rampPicture{"-f",  "lavfi",
                                  "-i",  "nullsrc=s=1024x64:r=25:d=1",
                                  "-vf", "format=yuv420p10le,geq=lum=X:cb=512:cr=512"};
    const QString ramp = convert(make("ramp.mkv", rampPicture + hevc10("smpte2084")));
    ASSERT_FALSE(ramp.isEmpty());
    double previous = lumaAt(ramp, pqCode(203) * 720 / 1024, 239);
    for (const double nits : {400, 700, 1000}) {
        const double luma = lumaAt(ramp, pqCode(nits) * 720 / 1024, 239);
        EXPECT_GT(luma, previous + 1) << nits << " cd/m² is compressed, not clipped";
        previous = luma;
    }
}

TEST_F(FrontSources, ColourTagsTellWhatThePixelsAreAndPlainSourcesConvertAsBefore)
{
    // Untagged HD pixels are BT.709; at 720x480 a player would read them as BT.601.
    const QString hd =
        convert(make("hd.mkv", {"-f", "lavfi", "-i", "testsrc2=s=1280x720:r=30:d=1", "-c:v", "libx264"}));
    ASSERT_FALSE(hd.isEmpty());
    EXPECT_EQ(video(hd).value("color_space").toString(), "bt709");

    // Untagged SD pixels stay as they were: the output is byte for byte the line's own.
    const QString sd = make("sd.avi", {"-f", "lavfi", "-i", "testsrc=s=320x240:r=30:d=1", "-f", "lavfi", "-i",
                                       "sine=d=1", "-ac", "2"});
    const QString converted = convert(sd);
    ASSERT_FALSE(converted.isEmpty());
    EXPECT_EQ(video(converted).value("color_space").toString(), "");
    const Command command = ConversionCommand(sd, out + "/line.mp4", 1, defaults(out));
    std::vector<std::string> words;
    for (const QString& word : command.Arguments())
        words.push_back(word.toStdString());
    QStringList line;
    for (const std::string& word : PlanFor(words).Arguments)
        line << QString::fromStdString(word);
    line.removeFirst();
    ASSERT_EQ(RunProgram(QStringLiteral("ffmpeg"), line).ExitCode, 0);
    EXPECT_EQ(ReadBytes(converted), ReadBytes(out + "/line.mp4"));
}

TEST_F(FrontSources, InterlacedFootageIsDeinterlaced)
{
    // The same moving picture as fields of interlaced frames and as progressive frames; the
    // interlaced one converted comes out as close to the progressive one as two encodes do (38 dB
    // and more), where mixed fields would leave combs (27 dB).
    const struct {
        const char* name;
        const char* size;
        const char* fields;   // tinterlace's mode and the field order it makes
        const char* topFirst; // the encoder's flag for it
    } cases[] = {{"576i.mkv", "720x576", "interleave_top,setfield=tff", "1"},
                 {"1080i.mkv", "1920x1080", "interleave_bottom,setfield=bff", "0"}};
    for (const auto& c : cases) {
        const QString motion =
            QStringLiteral("testsrc2=s=%1:r=50:d=2,scroll=h=0.01:v=0.02").arg(QString::fromLatin1(c.size));
        const QString interlaced = convert(
            make(c.name, {"-f", "lavfi", "-i", motion, "-vf", QStringLiteral("tinterlace=%1").arg(c.fields),
                          "-c:v", "mpeg2video", "-q:v", "2", "-flags", "+ilme+ildct", "-top", c.topFirst}));
        const QString progressive =
            convert(make(QStringLiteral("p-") + c.name,
                         {"-f", "lavfi", "-i", motion, "-vf", "select=not(mod(n\\,2)),setpts=N/25/TB", "-r",
                          "25", "-c:v", "libx264"}));
        ASSERT_FALSE(interlaced.isEmpty() || progressive.isEmpty());
        const ProgramRun psnr = RunProgram(QStringLiteral("ffmpeg"), {"-i", interlaced, "-i", progressive,
                                                                      "-lavfi", "psnr", "-f", "null", "-"});
        const QRegularExpression average(QStringLiteral("PSNR y:([0-9.]+)"));
        EXPECT_GT(average.match(QString::fromUtf8(psnr.Errors)).captured(1).toDouble(), 35) << c.name;
    }
}

TEST_F(FrontSources, SurroundIsMixedDownWithTheCentreInBothChannelsAndMonoStaysMono)
{
    // Dialogue: a tone in the centre channel alone.
    const QString surround =
        convert(make("surround.mkv", {"-f", "lavfi", "-i", "testsrc=s=320x240:r=30:d=2", "-f", "lavfi", "-i",
                                      "sine=f=1000:d=2", "-af", "pan=5.1|FC=c0", "-c:a", "ac3"}));
    const QString mono = convert(make("mono.avi", {"-f", "lavfi", "-i", "testsrc=s=320x240:r=30:d=2", "-f",
                                                   "lavfi", "-i", "sine=d=2", "-ac", "1"}));
    ASSERT_FALSE(surround.isEmpty() || mono.isEmpty());
    const QList<double> levels = channelLevels(surround);
    ASSERT_EQ(levels.size(), 2);
    EXPECT_GT(levels[0], -30);
    EXPECT_NEAR(levels[0], levels[1], 1);
    EXPECT_EQ(StreamOf(Probe(mono), QStringLiteral("audio")).value("channels").toInt(), 1);
}

// A PGS (Blu-ray) subtitle stream with one white box, shown at 0.5 s and cleared at 1.5 s.
QByteArray pgsSubtitles()
{
    const auto segment = [](quint32 pts, quint8 type, const QByteArray& data) {
        QByteArray bytes("PG");
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += char(pts >> shift);
        bytes += QByteArray(4, '\0') + char(type) + char(data.size() >> 8) + char(data.size());
        return bytes + data;
    };
    const auto words = [](std::initializer_list<int> values, std::initializer_list<int> widths) {
        QByteArray bytes;
        auto width = widths.begin();
        for (const int value : values)
            for (int shift = 8 * (*width++ - 1); shift >= 0; shift -= 8)
                bytes += char(value >> shift);
        return bytes;
    };
    constexpr int Width = 64, Height = 16;
    QByteArray rle;
    for (int y = 0; y < Height; ++y) // each line: 64 pixels of colour 1, then the line's end
        rle += QByteArray::fromHex("00c040") + char(1) + QByteArray(2, '\0');
    const QByteArray shown =
        words({320, 240, 0x10, 0, 0x80, 0, 0, 1, 0, 0, 0, 100, 100}, {2, 2, 1, 2, 1, 1, 1, 1, 2, 1, 1, 2, 2});
    const QByteArray window = words({1, 0, 100, 100, Width, Height}, {1, 1, 2, 2, 2, 2});
    const QByteArray palette = QByteArray::fromHex("0000"
                                                   "01eb8080ff");
    const QByteArray object =
        words({0, 0, 0xc0, int(rle.size()) + 4, Width, Height}, {2, 1, 1, 3, 2, 2}) + rle;
    const QByteArray cleared = words({320, 240, 0x10, 1, 0, 0, 0, 0}, {2, 2, 1, 2, 1, 1, 1, 1});
    return segment(45000, 0x16, shown) + segment(45000, 0x17, window) + segment(45000, 0x14, palette) +
           segment(45000, 0x15, object) + segment(45000, 0x80, {}) + segment(135000, 0x16, cleared) +
           segment(135000, 0x17, window) + segment(135000, 0x80, {});
}

TEST_F(FrontSources, TextSubtitlesAreCarriedWithTheirLanguageAndPictureSubtitlesAreToldLeftOut)
{
    const QString srt =
        temp.Write(QStringLiteral("in/jpn.srt"), "1\n00:00:00,500 --> 00:00:01,500\nこんにちは\n");
    const QString sup = temp.Write(QStringLiteral("in/pictures.sup"), pgsSubtitles());
    const QString source = convert(make("subtitled.mkv", {"-f",
                                                          "lavfi",
                                                          "-i",
                                                          "testsrc=s=320x240:r=30:d=2",
                                                          "-f",
                                                          "lavfi",
                                                          "-i",
                                                          "sine=d=2",
                                                          "-i",
                                                          srt,
                                                          "-i",
                                                          sup,
                                                          "-map",
                                                          "0",
                                                          "-map",
                                                          "1",
                                                          "-map",
                                                          "2",
                                                          "-map",
                                                          "3",
                                                          "-c:s:0",
                                                          "srt",
                                                          "-c:s:1",
                                                          "copy",
                                                          "-metadata:s:s:0",
                                                          "language=jpn"}));
    ASSERT_FALSE(source.isEmpty());
    const QJsonArray streams = Probe(source).value("streams").toArray();
    ASSERT_EQ(streams.size(), 3);
    const QJsonObject subtitle = streams[2].toObject();
    EXPECT_EQ(subtitle.value("codec_name").toString(), "mov_text");
    EXPECT_EQ(subtitle.value("tags").toObject().value("language").toString(), "jpn");
    EXPECT_TRUE(lastOutput.contains("picture_subtitles_left_out=1\n"));
}

TEST_F(FrontSources, APhoneClipKeepsWhenWhereAndWithWhatItWasTakenAndItsDate)
{
    const QString clip = make("phone.mov", {"-f", "lavfi", "-i", "testsrc=s=320x240:r=30:d=1", "-metadata",
                                            "creation_time=2024-05-01T10:20:30Z", "-metadata",
                                            "com.apple.quicktime.make=Apple", "-metadata",
                                            "com.apple.quicktime.model=iPhone 13", "-metadata",
                                            "com.apple.quicktime.location.ISO6709=+35.6586+139.7454+040.000/",
                                            "-metadata:s:v", "rotate=90", "-movflags", "use_metadata_tags"});
    const utimbuf holiday{1714558830, 1714558830};
    ASSERT_EQ(utime(QFile::encodeName(clip).constData(), &holiday), 0);

    const QString output = convert(clip);

    ASSERT_FALSE(output.isEmpty());
    const QJsonObject tags = Probe(output).value("format").toObject().value("tags").toObject();
    EXPECT_TRUE(tags.value("creation_time").toString().startsWith("2024-05-01T10:20:30"));
    EXPECT_EQ(tags.value("com.apple.quicktime.make").toString(), "Apple");
    EXPECT_EQ(tags.value("com.apple.quicktime.model").toString(), "iPhone 13");
    EXPECT_EQ(tags.value("com.apple.quicktime.location.ISO6709").toString(), "+35.6586+139.7454+040.000/");
    EXPECT_EQ(QFileInfo(output).lastModified().toSecsSinceEpoch(), holiday.modtime);
}

TEST_F(FrontSources, ASlowCameraKeepsItsRateAndOthersTakeTheOneAskedFor)
{
    for (const int rate : {10, 25, 60}) {
        const QString output =
            convert(make(QStringLiteral("%1fps.avi").arg(rate),
                         {"-f", "lavfi", "-i", QStringLiteral("testsrc=s=320x240:r=%1:d=1").arg(rate)}));
        ASSERT_FALSE(output.isEmpty());
        EXPECT_EQ(video(output).value("avg_frame_rate").toString(), rate == 10 ? "10/1" : "30/1");
    }
}

} // namespace
