// Sources as people have them, converted by the encoder front on Korumi's command lines and
// checked with ffprobe and ffmpeg's measuring filters: broadcast recordings, HDR phone clips,
// colours, interlaced footage, sound tracks, subtitles, tags, cover art, music and every rate.
#include "conversion/CommandLine.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"

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

// ffmpeg's inputs made by the filter graphs `graphs` ("testsrc=d=2", "sine=d=2"), in this order.
QStringList lavfi(std::initializer_list<const char*> graphs)
{
    QStringList inputs;
    for (const char* graph : graphs)
        inputs << "-f"
               << "lavfi"
               << "-i" << graph;
    return inputs;
}

// Options written as one line, for options without blanks in them.
QStringList options(const char* line)
{
    return QString::fromUtf8(line).split(u' ');
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

    // Converts `source` as Korumi does, every pass; returns the output's path, empty when the
    // front failed.
    QString convert(const QString& source, ConversionSettings settings = defaults({}))
    {
        settings.OutputFolder = out;
        const QString target = TargetPathFor(source, out);
        for (int pass = 1; pass <= (settings.TwoPass ? 2 : 1); ++pass) {
            const ProgramRun run =
                RunProgram(FrontProgram(), ConversionCommand(source, target, pass, settings).Arguments(), {},
                           FrontEnvironment(temp));
            lastOutput = run.Output;
            lastErrors = run.Errors;
            EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
            if (run.ExitCode != 0)
                return QString();
        }
        return target;
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

    // The first picture of `path`, its centre in RGB, decoded with the colours it is tagged with.
    static QByteArray centreColour(const QString& path)
    {
        return RunProgram(QStringLiteral("ffmpeg"),
                          {"-v", "error", "-i", path, "-vf",
                           "crop=2:2:iw/2:ih/2,scale=in_color_matrix=auto,format=rgb24", "-frames:v", "1",
                           "-f", "rawvideo", "-"})
            .Output.left(3);
    }

    static QJsonObject video(const QString& path) { return StreamOf(Probe(path), QStringLiteral("video")); }

    static QJsonArray streams(const QString& path) { return Probe(path).value("streams").toArray(); }

    TempDir temp;
    QString out = temp.MakeDir(QStringLiteral("out"));
    QByteArray lastOutput; // what the front wrote on its standard output
    QByteArray lastErrors;
};

// Settings as Korumi's presets give them, the default one changed by `change`.
template <typename Change> ConversionSettings settingsWith(Change change)
{
    ConversionSettings settings = defaults({});
    change(settings);
    return settings;
}

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
    // A clip that tells its transfer alone: BT.2020 is what every HDR format has.
    const QString pqOnly =
        convert(make("pq-only.mkv", pattern + QStringList{"-vf", SdrToPq, "-c:v", "libx265", "-x265-params",
                                                          "transfer=smpte2084:log-level=error"}));
    ASSERT_FALSE(sdr.isEmpty() || pq.isEmpty() || hlg.isEmpty() || pqOnly.isEmpty());

    const double sdrLuma = average(sdr, "signalstats", "lavfi.signalstats.YAVG");
    const double sdrSaturation = average(sdr, "signalstats", "lavfi.signalstats.SATAVG");
    for (const QString& output : {pq, hlg, pqOnly}) {
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

TEST_F(FrontSources, ColoursDecodeAsTheyWereWhateverTheSizes)
{
    // Untagged HD pixels are BT.709; at 720x480 a player would read them as BT.601.
    const QString hd =
        convert(make("hd.mkv", {"-f", "lavfi", "-i", "testsrc2=s=1280x720:r=30:d=1", "-c:v", "libx264"}));
    ASSERT_FALSE(hd.isEmpty());
    EXPECT_EQ(video(hd).value("color_space").toString(), "bt709");
    const QString sd = convert(make("sd.avi", {"-f", "lavfi", "-i", "testsrc=s=320x240:r=30:d=1"}));
    ASSERT_FALSE(sd.isEmpty());
    EXPECT_EQ(video(sd).value("color_space").toString(), "");

    // RGB pixels (PNG, QuickTime Animation) have no matrix of their own: pure green stays pure
    // green at an SD size and at an HD one.
    for (const char* codec : {"png", "qtrle"}) {
        const QString source =
            make(QStringLiteral("green-%1.mov").arg(codec),
                 {"-f", "lavfi", "-i", "color=c=0x00FF00:s=1280x720:r=10:d=1", "-c:v", codec});
        for (const int size : {1, 3}) {
            const QString output =
                convert(source, settingsWith([size](ConversionSettings& s) { s.PictureSizeIndex = size; }));
            ASSERT_FALSE(output.isEmpty());
            const QByteArray rgb = centreColour(output);
            ASSERT_EQ(rgb.size(), 3);
            EXPECT_LE(quint8(rgb[0]), 8) << codec << " at size " << size;
            EXPECT_GE(quint8(rgb[1]), 245) << codec << " at size " << size;
            EXPECT_LE(quint8(rgb[2]), 8) << codec << " at size " << size;
        }
    }
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

TEST_F(FrontSources, EverySoundTrackIsKeptTheDefaultFirstSurroundMixedDownAndMonoStaysMono)
{
    // Dialogue: a tone in the centre channel alone, on the default track of Japanese; an English
    // mono track before it.
    const QString film = convert(make(
        "film.mkv",
        lavfi({"testsrc=s=320x240:r=30:d=2", "sine=f=500:d=2", "sine=f=1000:d=2"}) +
            options(
                "-map 0 -map 1 -map 2 -ac:a:0 1 -filter:a:1 pan=5.1|FC=c0 -c:a:1 ac3 -metadata:s:a:0 "
                "language=eng -metadata:s:a:1 language=jpn -disposition:a:0 0 -disposition:a:1 default")));
    ASSERT_FALSE(film.isEmpty());
    const QJsonArray tracks = streams(film);
    ASSERT_EQ(tracks.size(), 3);
    const QJsonObject japanese = tracks[1].toObject();
    const QJsonObject english = tracks[2].toObject();
    EXPECT_EQ(japanese.value("tags").toObject().value("language").toString(), "jpn");
    EXPECT_EQ(japanese.value("disposition").toObject().value("default").toInt(), 1);
    EXPECT_EQ(japanese.value("channels").toInt(), 2);
    EXPECT_EQ(english.value("tags").toObject().value("language").toString(), "eng");
    EXPECT_EQ(english.value("disposition").toObject().value("default").toInt(), 0);
    EXPECT_EQ(english.value("channels").toInt(), 1);
    const QList<double> levels = channelLevels(film); // of the first track
    ASSERT_EQ(levels.size(), 2);
    EXPECT_GT(levels[0], -30);
    EXPECT_NEAR(levels[0], levels[1], 1);
}

// A PGS (Blu-ray) subtitle stream with one white box, shown at 0.5 s and cleared `clearedAt`
// seconds in.
QByteArray pgsSubtitles(double clearedAt)
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
    const auto clear = quint32(clearedAt * 90000);
    return segment(45000, 0x16, shown) + segment(45000, 0x17, window) + segment(45000, 0x14, palette) +
           segment(45000, 0x15, object) + segment(45000, 0x80, {}) + segment(clear, 0x16, cleared) +
           segment(clear, 0x17, window) + segment(clear, 0x80, {});
}

TEST_F(FrontSources, TextSubtitlesAreCarriedAndPictureSubtitlesToldLeftOutWithoutSettingTheLength)
{
    const QString srt =
        temp.Write(QStringLiteral("in/jpn.srt"), "1\n00:00:00,500 --> 00:00:01,500\nこんにちは\n");
    // Its last picture stays up long after the film: the film's length is its picture's and sound's.
    const QString sup = temp.Write(QStringLiteral("in/pictures.sup"), pgsSubtitles(55));
    const QString source =
        convert(make("subtitled.mkv", lavfi({"testsrc=s=320x240:r=30:d=2", "sine=d=2"}) +
                                          QStringList{"-i", srt, "-i", sup} +
                                          options("-map 0 -map 1 -map 2 -map 3 -c:s:0 srt -c:s:1 copy "
                                                  "-metadata:s:s:0 language=jpn")));
    ASSERT_FALSE(source.isEmpty());
    const QJsonArray streams = Probe(source).value("streams").toArray();
    ASSERT_EQ(streams.size(), 3);
    const QJsonObject subtitle = streams[2].toObject();
    EXPECT_EQ(subtitle.value("codec_name").toString(), "mov_text");
    EXPECT_EQ(subtitle.value("tags").toObject().value("language").toString(), "jpn");
    EXPECT_TRUE(lastOutput.contains("subtitle_left_out=picture\n"));
    EXPECT_TRUE(lastOutput.contains("duration=2.0")) << lastOutput.toStdString();
}

TEST_F(FrontSources, TagsReachTheMp4AsItsReadersReadThem)
{
    const QString clip = make("phone.mov", {"-f", "lavfi", "-i", "testsrc=s=320x240:r=30:d=1", "-metadata",
                                            "title=夏の海", "-metadata", "creation_time=2024-05-01T10:20:30Z",
                                            "-metadata", "com.apple.quicktime.make=Apple", "-metadata",
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
    // The title as an iTunes atom, which media libraries, Apple devices and TVs read.
    EXPECT_TRUE(ReadBytes(output).contains("\xA9"
                                           "nam"));
    EXPECT_EQ(tags.value("title").toString(), "夏の海");

    // A clip without a camera's keys gets none, and nothing of its own container's brand.
    const QString plain = convert(make("plain.mov", {"-f", "lavfi", "-i", "testsrc=s=320x240:r=30:d=1",
                                                     "-metadata", "title=冬", "-metadata", "date=2023"}));
    ASSERT_FALSE(plain.isEmpty());
    const QJsonObject plainTags = Probe(plain).value("format").toObject().value("tags").toObject();
    EXPECT_EQ(plainTags.value("title").toString(), "冬");
    EXPECT_EQ(plainTags.value("date").toString(), "2023");
    EXPECT_EQ(plainTags.value("major_brand").toString(), "isom");
    EXPECT_TRUE(ReadBytes(plain).contains("\xA9"
                                          "day"));
    EXPECT_FALSE(ReadBytes(plain).contains("mdta"));
}

TEST_F(FrontSources, TheRateIsAPeakEveryPictureKeepsItsTimeAndKeyframesComeEveryTenSeconds)
{
    const struct {
        const char* rate;   // the source's
        const char* filter; // how its pictures come
        int peak;           // the rate asked for
        const char* expected;
        int pictures;
        double seconds = 4; // as long as the source's picture
    } cases[] = {
        {"10", "", 30, "10/1", 40},
        {"24", "", 30, "24/1", 96},
        {"25", "", 30, "25/1", 100},
        {"30000/1001", "", 30, "30000/1001", 120},
        {"50", "", 30, "25/1", 100}, // every second picture, evenly
        {"60", "", 30, "30/1", 120},
        {"35", "", 30, "30/1", 120},
        {"30", "", 1, "1/1", 4}, // a low peak adds no pictures at the end
        // A camera that sends a picture now and then: every one at its time, the last until 3.4 s.
        {"15", ",select='not(mod(n\\,10))'", 30, "", 6, 3.4},
    };
    for (const auto& c : cases) {
        const QString source =
            make(QStringLiteral("%1.mkv").arg(QString::number(&c - cases)),
                 {"-f", "lavfi", "-i", QStringLiteral("testsrc=s=160x120:r=%1:d=4%2").arg(c.rate, c.filter),
                  "-f", "lavfi", "-i", "sine=d=4", "-fps_mode", "vfr"});
        const QString output =
            convert(source, settingsWith([&c](ConversionSettings& s) { s.FrameRate = c.peak; }));
        ASSERT_FALSE(output.isEmpty()) << c.rate;
        const QJsonObject picture = video(output);
        if (*c.expected != '\0') {
            EXPECT_EQ(picture.value("r_frame_rate").toString(), c.expected) << c.rate;
        }
        EXPECT_EQ(picture.value("nb_frames").toString().toInt(), c.pictures) << c.rate;
        EXPECT_NEAR(picture.value("duration").toString().toDouble(), c.seconds, 1.0 / std::min(c.peak, 10))
            << c.rate;
    }

    // An AVI keeps no presentation times: ffmpeg times each picture by the packet that completes
    // it, one late where B-frames come first. Every picture keeps its own time all the same.
    const QString divx = convert(
        make("divx.avi", {"-f", "lavfi", "-i", "testsrc=s=160x120:r=25:d=4", "-c:v", "mpeg4", "-bf", "2"}));
    ASSERT_FALSE(divx.isEmpty());
    EXPECT_EQ(video(divx).value("nb_frames").toString().toInt(), 100);

    // Closed GOPs, and a keyframe at least every 10 s, also at 10 pictures a second.
    const QString slow = convert(make("slow.mkv", {"-f", "lavfi", "-i", "testsrc=s=160x120:r=10:d=25"}));
    ASSERT_FALSE(slow.isEmpty());
    EXPECT_TRUE(ReadBytes(slow).contains("open_gop=0"));
    const ProgramRun keyframes =
        RunProgram(QStringLiteral("ffprobe"), {"-v", "error", "-select_streams", "v", "-skip_frame", "nokey",
                                               "-show_entries", "frame=pts_time", "-of", "csv=p=0", slow});
    double previous = 0;
    for (const QByteArray& line : keyframes.Output.trimmed().split('\n')) {
        EXPECT_LE(line.toDouble() - previous, 10.0) << keyframes.Output.toStdString();
        previous = line.toDouble();
    }
    EXPECT_GE(previous, 20.0);
}

TEST_F(FrontSources, TheVideoIsTheMovingPictureAndTheDefaultTrack)
{
    // Cover art remuxed into Matroska as an ordinary first track, before the film.
    const QString cover =
        make("cover.jpg", {"-f", "lavfi", "-i", "color=c=red:s=300x300:d=1", "-frames:v", "1"});
    const QString film =
        make("covered.mkv", {"-i",     cover,    "-f",   "lavfi",    "-i",     "testsrc=s=320x240:r=25:d=4",
                             "-f",     "lavfi",  "-i",   "sine=d=4", "-map",   "0",
                             "-map",   "1",      "-map", "2",        "-c:v:0", "copy",
                             "-c:v:1", "libx264"});
    const QString converted = convert(film);
    ASSERT_FALSE(converted.isEmpty());
    EXPECT_EQ(video(converted).value("nb_frames").toString().toInt(), 100);

    // A default SDR track of red and a larger HLG track of blue that is not the default.
    const QString tracks =
        make("tracks.mkv", lavfi({"color=c=red:s=640x360:r=25:d=1", "color=c=blue:s=1280x720:r=25:d=1"}) +
                               options("-map 0 -map 1 -c:v:0 libx264 -c:v:1 libx265 -x265-params "
                                       "log-level=error -color_trc:v:1 arib-std-b67 "
                                       "-disposition:v:0 default -disposition:v:1 0"));
    const QString chosen = convert(tracks);
    ASSERT_FALSE(chosen.isEmpty());
    const QByteArray rgb = centreColour(chosen);
    ASSERT_EQ(rgb.size(), 3);
    EXPECT_GT(quint8(rgb[0]), 200);
    EXPECT_LT(quint8(rgb[2]), 50);
}

TEST_F(FrontSources, MusicIsNoVideoWithOrWithoutItsCover)
{
    const QString cover =
        make("cover.png", {"-f", "lavfi", "-i", "color=c=red:s=300x300:d=1", "-frames:v", "1"});
    const QString sound = make("song.m4a", {"-f", "lavfi", "-i", "sine=d=2"});
    for (const QString& music :
         {make("song.mp3", {"-f", "lavfi", "-i", "sine=d=2"}), sound,
          make("covered.m4a", {"-i", sound, "-i", cover, "-map", "0", "-map", "1", "-c", "copy",
                               "-disposition:v", "attached_pic"}),
          make("covered.mkv", {"-i", sound, "-i", cover, "-map", "0", "-map", "1", "-c", "copy"})}) {
        const ProgramRun run = RunProgram(
            FrontProgram(), ConversionCommand(music, out + "/song.mp4", 1, defaults(out)).Arguments(), {},
            FrontEnvironment(temp));
        EXPECT_EQ(run.ExitCode, 1) << music.toStdString();
        EXPECT_TRUE(LastLine(run.Errors).endsWith(": the source has no video")) << run.Errors.toStdString();
        EXPECT_EQ(Entries(out), QStringList()) << music.toStdString();
    }
}

TEST_F(FrontSources, BroadcastRecordingsConvertWholeAndInSyncInOnePassAndInTwo)
{
    // As recorders write them: the sound starts half a second before the picture; a recording may
    // start between two keyframes, hold several services, switch to 5.1 part-way and carry
    // captions, and its timestamps may wrap.
    const struct {
        const char* name;
        QStringList options;
    } recordings[] = {
        {"mpeg2.ts", {"--caption-stream", "normal", "--cut-mid-gop", "--surround-from", "1.5"}},
        {"h264.ts", {"--video", "h264", "--size", "1920x1080", "--programs", "2", "--cut-mid-gop"}},
        {"wrap.ts", {"--pts-start", "95442.5"}},
    };
    constexpr double Frame = 1001.0 / 30000;
    for (const auto& recording : recordings) {
        const QString source = MakeBroadcastRecording(temp.MakeDir("in"), recording.name,
                                                      recording.options + QStringList{"--seconds", "3"});
        ASSERT_FALSE(source.isEmpty()) << recording.name;
        for (const bool twoPass : {false, true}) {
            const std::string what = recording.name + std::string(twoPass ? ", two passes" : ", one pass");
            const QString output =
                convert(source, settingsWith([twoPass](ConversionSettings& s) { s.TwoPass = twoPass; }));
            ASSERT_FALSE(output.isEmpty()) << what;
            const QJsonArray kept = streams(output);
            ASSERT_EQ(kept.size(), 2) << what << ": the main service's picture and sound";
            const QJsonObject picture = kept[0].toObject();
            const QJsonObject sound = kept[1].toObject();
            EXPECT_EQ(picture.value("r_frame_rate").toString(), "30000/1001") << what;
            EXPECT_EQ(sound.value("channels").toInt(), 2) << what;
            // The whole recording, sound from its first moment, the picture with it.
            EXPECT_NEAR(picture.value("start_time").toString().toDouble(),
                        sound.value("start_time").toString().toDouble(), Frame)
                << what;
            EXPECT_NEAR(picture.value("duration").toString().toDouble(), 3.5, Frame) << what;
            EXPECT_NEAR(sound.value("duration").toString().toDouble(), 3.5, Frame) << what;
            const ProgramRun decoded =
                RunProgram(QStringLiteral("ffmpeg"), {"-v", "error", "-i", output, "-f", "null", "-"});
            EXPECT_EQ(decoded.Errors, "") << what;
            EXPECT_EQ(lastOutput.contains("subtitle_left_out=arib_caption"),
                      recording.options.contains("--caption-stream"))
                << what;
        }
    }
}

} // namespace
