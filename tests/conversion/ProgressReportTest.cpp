#include "conversion/ConsoleProgress.h"
#include "conversion/EncoderReport.h"
#include "conversion/TimeLeft.h"

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

TEST(EncoderReport, TheReasonIsTheLastMessageWithoutTheSourceInFront)
{
    EncoderReport report(QStringLiteral("/v/bad.avi"));
    EXPECT_EQ(report.Reason(), "");
    report.AddErrors("[avi @ 0x55] Something odd\n\n/v/bad.avi: Invalid data found when");
    EXPECT_EQ(report.Reason(), "[avi @ 0x55] Something odd");
    report.AddErrors(" processing input\n\n");
    EXPECT_EQ(report.Reason(), "Invalid data found when processing input");
}

// Feeds the fractions a run reaches at `ratePerSecond`, one each half second.
std::optional<int> AfterSeconds(TimeLeft& estimate, double seconds, double ratePerSecond, double from = 0,
                                double startSeconds = 0)
{
    std::optional<int> left;
    for (double t = startSeconds + 0.5; t <= startSeconds + seconds; t += 0.5)
        left = estimate.Update(from + (t - startSeconds) * ratePerSecond, qint64(t * 1000));
    return left;
}

TEST(TimeLeft, ShownOnceSteadyThenCountingDownWithoutJumps)
{
    TimeLeft estimate;
    EXPECT_EQ(AfterSeconds(estimate, 2, 0.01), std::nullopt) << "too early to tell";
    const std::optional<int> steady = AfterSeconds(estimate, 8, 0.01, 0.02, 2);
    ASSERT_TRUE(steady.has_value());
    EXPECT_NEAR(*steady, 90, 3); // 10 % done in 10 s

    // The rate triples for a moment: the estimate follows, but in small steps.
    const std::optional<int> afterSpurt = estimate.Update(0.13, 10500);
    ASSERT_TRUE(afterSpurt.has_value());
    EXPECT_LT(*steady - *afterSpurt, 15);
    EXPECT_LE(*afterSpurt, *steady);
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
