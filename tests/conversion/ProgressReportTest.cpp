#include "conversion/BatchResult.h"
#include "conversion/ConsoleProgress.h"
#include "conversion/EncoderReport.h"
#include "conversion/FileConversion.h"
#include "conversion/TimeLeft.h"

#include <QList>
#include <gtest/gtest.h>

namespace
{

TEST(EncoderReport, FractionFromTheDurationAndFfmpegsProgressInPiecesOfAnySize)
{
    struct Case {
        const char* output;
        std::optional<double> fraction;
    };
    const Case cases[] = {
        {"", std::nullopt},
        {"out_time_us=5000000\nprogress=continue\n", std::nullopt},          // no length yet
        {"duration=20.0\n", std::nullopt},                                   // no time yet
        {"out_time_us=N/A\nduration=20.0\nout_time_us=5000000\n", 0.25},     // a time that is none
        {"duration=20.0\nout_time_us=5000000\nout_time_us=10000000\n", 0.5}, // the last one counts
        {"duration=20.0\nout_time_us=30000000\n", 1.0},                      // past the end
        {"duration=20.0\nout_time_us=5000000", std::nullopt},                // a line not yet whole
        {"duration=N/A\nout_time_us=5000000\nprogress=end\n", 1.0},          // ended without a length
    };
    for (const Case& c : cases) {
        EncoderReport report;
        const QByteArray output(c.output);
        for (qsizetype at = 0; at < output.size(); at += 3)
            report.AddOutput(output.mid(at, 3));
        EXPECT_EQ(report.Fraction(), c.fraction) << c.output;
    }
}

TEST(EncoderReport, TheFileBeingWrittenComesWithItsEscapesUndoneAndWhatItLeavesOut)
{
    EncoderReport report;
    EXPECT_EQ(report.WritingPath(), "");
    report.AddOutput("duration=3.00\nwriting=/out/.a\\nb\\\\c.mp4.tmp-7.mp4\nsubtitle_left_out=picture\n"
                     "subtitle_left_out=arib_caption\nsubtitle_left_out=picture\nout_time_us=1\n");
    EXPECT_EQ(report.WritingPath(), "/out/.a\nb\\c.mp4.tmp-7.mp4");
    EXPECT_EQ(SubtitlesLeftOutText(report.SubtitlesLeftOut()),
              "画像の字幕 2 本は MP4 に入らないため、入れていません。"
              "放送の字幕 1 本は読み取れないため、入れていません");
    EXPECT_EQ(SubtitlesLeftOutText({"teletext", "ttml"}),
              "テレテキストの字幕 1 本は MP4 に入らないため、入れていません。"
              "字幕 1 本 (ttml) は読み取れないため、入れていません");
}

TEST(EncoderReport, TheReasonNamesTheCauseNotWhatFollowedItAndDamageIsCountedApart)
{
    struct Case {
        const char* what;
        const char* errors;
        const char* reason;
        int damage;
    };
    const Case cases[] = {
        {"none", "", "", 0},
        {"the source's path comes off", "/v/bad.avi: Invalid data found when processing input\n",
         "Invalid data found when processing input", 0},
        {"a known cause before ffmpeg's consequences",
         "[aac @ 0x1] No space left on device\nError marking filters as finished\nConversion failed!\n",
         "[aac @ 0x1] No space left on device", 0},
        {"else the last message that is no consequence",
         "[h264 @ 0x2] non-existing PPS 0 referenced\n[Parsed_zscale_0 @ 0x3] no path between colorspaces\n"
         "Error while filtering: Generic error in an external library\nConversion failed!\n",
         "[Parsed_zscale_0 @ 0x3] no path between colorspaces", 0},
        {"a recording that starts between keyframes is no damage",
         "[mpeg2video @ 0x4] Invalid frame dimensions 0x0.\n[h264 @ 0x5] no frame!\n",
         "[h264 @ 0x5] no frame!", 0},
        {"packets that could not be decoded and concealed pictures are",
         "Error while decoding stream #0:1: Invalid data found when processing input\n"
         "[h264 @ 0x6] error while decoding MB 3 4, bytestream -7\n"
         "[h264 @ 0x6] concealing 200 DC, 200 AC, 200 MV errors in P frame\n",
         "[h264 @ 0x6] error while decoding MB 3 4, bytestream -7", 2},
    };
    for (const Case& c : cases) {
        EncoderReport report(QStringLiteral("/v/bad.avi"));
        report.AddOutput("duration=8\nout_time_us=4000000\n");
        const QByteArray errors(c.errors);
        for (qsizetype at = 0; at < errors.size(); at += 5)
            report.AddErrors(errors.mid(at, 5));
        EXPECT_EQ(report.Reason(), c.reason) << c.what;
        EXPECT_EQ(report.DecodeErrors(), c.damage) << c.what;
        if (c.damage > 0) {
            EXPECT_EQ(report.FirstDecodeErrorSeconds(), 4.0) << c.what;
        }
    }
}

TEST(TimeLeft, HiddenUntilThereIsEnoughThenNeverRisingWhileTheWorkAdvances)
{
    struct Sample {
        double fraction;
        double seconds;
    };
    // A run whose rate swings under load, every 4 s between 1 % and 0.5 % a second...
    QList<Sample> swinging;
    double done = 0;
    for (double t = 0.5; t <= 60; t += 0.5) {
        done += (int(t) / 4 % 2 == 0 ? 0.01 : 0.005) / 2;
        swinging << Sample{done, t};
    }
    // ...and then stalls.
    QList<Sample> stalled = swinging;
    for (double t = 60.5; t <= 80; t += 0.5)
        stalled << Sample{done, t};
    struct Case {
        const char* what;
        QList<Sample> samples;
        std::optional<int> first; // the first estimate shown, give or take 10 %
        std::optional<int> last;
    };
    const QList<Case> cases{
        {"too early", {{0.05, 1}, {0.1, 2}, {0.2, 4.5}}, std::nullopt, std::nullopt},
        {"a steady rate", {{0.01, 1}, {0.05, 5}, {0.1, 10}, {0.2, 20}}, 95, 80},
        {"31 % to 36 %, slowing", {{0.30, 60}, {0.31, 65}, {0.33, 75}, {0.36, 90}}, 140, 126},
        {"a swinging rate", swinging, 113, 72}, // the average rate: 54 % left at 0.75 % a second
        {"a stall", stalled, 113, 91},          // grows once the work has stopped
    };
    for (const Case& c : cases) {
        TimeLeft estimate;
        std::optional<int> first;
        std::optional<int> left;
        double reached = 0;
        for (const Sample& sample : c.samples) {
            const std::optional<int> previous = left;
            left = estimate.Update(sample.fraction, qint64(sample.seconds * 1000));
            first = first ? first : left;
            EXPECT_FALSE(previous && !left) << c.what << ": once shown, an estimate stays";
            if (previous && left && sample.fraction > reached) {
                EXPECT_LE(*left, *previous) << c.what << " at " << sample.seconds << " s";
            }
            reached = std::max(reached, sample.fraction);
        }
        ASSERT_EQ(first.has_value(), c.first.has_value()) << c.what;
        if (!c.first)
            continue;
        EXPECT_NEAR(*first, *c.first, *c.first / 10) << c.what;
        EXPECT_NEAR(*left, *c.last, *c.last / 10) << c.what;
    }
}

TEST(FailureReport, CommonCausesInPlainWordsAndTheEncodersOwnInTheDetails)
{
    const QList<FileFailure> failures{
        {"a.avi", 1, false, "Invalid data found when processing input"},
        {"b.mkv", 1, false, "ffmpeg.exe: /out/b.mp4: the output is 10.3 s long, its source 20.1 s"},
        {"c.mp4", 1, false, "No space left on device"},
        {"d.mov", 1, false, "Decoder (codec prores) not found for input stream #0:0"},
        {"e.avi", 1, false, "something else"},
        {"f.ts", 1, false,
         "ffmpeg.exe: /v/f.ts: the source is still being written (it changed while it was converted)"},
        {"g.mp3", 1, false, "ffmpeg.exe: /v/g.mp3: the source has no video"}};
    EXPECT_EQ(FailureSummary(failures),
              "次のファイルは変換できませんでした。\n"
              "a.avi : 動画ファイルではないか、壊れています\n"
              "b.mkv : 動画が途中で途切れています (ダウンロードが終わっていないなど)\n"
              "c.mp4 : 保存先の空きが足りません\n"
              "d.mov : この動画の形式 (コーデック) には対応していません\n"
              "e.avi : エンコーダがエラーで終了しました (終了コード 1)\n"
              "f.ts : 録画中かダウンロード中で、まだ書き込まれている途中です\n"
              "g.mp3 : 映像が入っていません (音声だけのファイルなど)");
    EXPECT_TRUE(
        FailureReport(failures).contains("a.avi : 動画ファイルではないか、壊れています: Invalid data found"));
}

TEST(FailureSummary, AtMostTwentyFilesThenHowManyMore)
{
    for (const int failed : {1, 20, 21, 80}) {
        QList<FileFailure> failures;
        for (int i = 0; i < failed; ++i)
            failures << FileFailure{QStringLiteral("f%1.avi").arg(i), 1, false};
        const QStringList lines = FailureSummary(failures).split(u'\n');
        const QStringList whole = FailureReport(failures).split(u'\n');
        EXPECT_EQ(lines.mid(0, 21), whole.mid(0, 21)) << failed;
        EXPECT_EQ(lines.size(), failed > 20 ? 22 : failed + 1) << failed;
        if (failed > 20) {
            EXPECT_EQ(lines.last(), QStringLiteral("ほか %1 件").arg(failed - 20));
        }
    }
}

TEST(TimeLeft, ClockText)
{
    EXPECT_EQ(ClockText(0), "0:00");
    EXPECT_EQ(ClockText(83), "1:23");
    EXPECT_EQ(ClockText(3723), "1:02:03");
}

TEST(ConsoleProgress, EachFileTheRunAndOnceKnownTheTimeLeft)
{
    RunProgress progress{{{0, "/v/a.avi", 1, 2, 0.425}, {1, "/v/b.avi", 1, 1, 0.1}}, 4, 0.13, {}};
    EXPECT_EQ(ProgressText(progress), "a.avi 42 %, b.avi 10 %, run 13 %");
    progress.SecondsLeft = 83;
    EXPECT_EQ(ProgressText(progress), "a.avi 42 %, b.avi 10 %, run 13 %, 1:23 left");
}

} // namespace
