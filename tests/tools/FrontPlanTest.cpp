// How the front reads Korumi's old-style command lines.
#include "tools/ffmpeg-front/FrontPlan.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{

using Words = std::vector<std::string>;

// Whether `words` holds `option` right before `value`, and where.
std::ptrdiff_t placeOf(const Words& words, const std::string& option, const std::string& value)
{
    for (std::size_t i = 0; i + 1 < words.size(); ++i)
        if (words[i] == option && words[i + 1] == value)
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

TEST(FrontPlan, EachModeWithTheOldOptionsUnderTodaysNames)
{
    const struct {
        const char* name;
        Words given;
        FrontMode mode;
        std::vector<std::pair<std::string, std::string>> options; // each on the line, in this order
        std::string output;                                       // the last argument
    } cases[] = {
        {"a conversion",
         {"-i",      "/v/clip.avi", "-y",      "-flags", "bitexact", "-s",           "720x480", "-aspect",
          "16:9",    "-vcodec",     "libx264", "-b",     "2048k",    "-r",           "30",      "-acodec",
          "libfaac", "-ab",         "128k",    "-ar",    "44100",    "/out/clip.mp4"},
         FrontMode::Encode,
         {{"-loglevel", "level+info"},
          {"-i", "/v/clip.avi"},
          {"-flags", "+bitexact"},
          {"-c:v", "libx264"},
          {"-b:v", "2048k"},
          {"-c:a", "aac"},
          {"-b:a", "128k"},
          {"-profile:v", "high"},
          {"-movflags", "+faststart"},
          {"-progress", "pipe:1"}},
         "/out/clip.mp4"},
        {"the first of two passes",
         {"-i", "/v/c.avi", "-y", "-pass", "1", "-an", "-vcodec", "mpeg4", "-acodec", "libfaac", "-an",
          "/out/c.mp4"},
         FrontMode::TwoPass,
         {{"-pass", "1"}, {"-an", "-c:v"}, {"-c:a", "aac"}, {"-an", "-pix_fmt"}},
         "/out/c.mp4"},
        {"a thumbnail, seeking on the input",
         {"-i", "/v/c.avi", "-f", "image2", "-ss", "5", "-vframes", "1", "-s", "80x60", "-an",
          "/p/_thumb.jpg"},
         FrontMode::Thumbnail,
         {{"-loglevel", "error"}, {"-ss", "5"}, {"-i", "/v/c.avi"}, {"-frames:v", "1"}, {"-update", "1"}},
         "/p/_thumb.jpg"},
        {"options it does not know, into a file not for Apple devices",
         {"-threads", "2", "-i", "/v/c.avi", "-weird", "-vcodec", "copy", "/out/c.mkv"},
         FrontMode::Encode,
         {{"-threads", "2"}, {"-i", "/v/c.avi"}, {"-weird", "-c:v"}},
         "/out/c.mkv"},
        {"relative names, which are files",
         {"-i", "-x:y.avi", "-vcodec", "mpeg4", "-o.mp4"},
         FrontMode::Encode,
         {{"-i", "file:-x:y.avi"}},
         "file:-o.mp4"},
        {"a pass that is no number",
         {"-i", "/v/c.avi", "-pass", "x", "/out/c.mkv"},
         FrontMode::Encode,
         {{"-pass", "x"}},
         "/out/c.mkv"},
        {"no input", {"-version"}, FrontMode::Exec, {{"-loglevel", "error"}}, "-version"},
    };
    for (const auto& c : cases) {
        const FrontPlan plan = PlanFor(c.given);
        EXPECT_EQ(plan.Mode, c.mode) << c.name;
        EXPECT_EQ(plan.Arguments.front(), "ffmpeg") << c.name;
        EXPECT_EQ(plan.Arguments.back(), c.output) << c.name;
        std::ptrdiff_t previous = -1;
        for (const auto& [option, value] : c.options) {
            const std::ptrdiff_t at = placeOf(plan.Arguments, option, value);
            EXPECT_GT(at, previous) << c.name << ": " << option << " " << value;
            previous = std::max(previous, at);
        }
        const bool forApple = c.mode != FrontMode::Thumbnail && c.output.size() > 4 &&
                              c.output.compare(c.output.size() - 4, 4, ".mp4") == 0;
        EXPECT_EQ(placeOf(plan.Arguments, "-movflags", "+faststart") >= 0, forApple) << c.name;
    }
}

TEST(FrontPlan, ThePassLogAndTheTemporaryFileGoWhereFfmpegReadsThem)
{
    const FrontPlan plan =
        PlanFor({"-i", "/v/c.avi", "-y", "-pass", "2", "-vcodec", "libx264", "/out/c.mp4"});
    ASSERT_EQ(plan.Mode, FrontMode::TwoPass);
    EXPECT_EQ(plan.Pass, 2);
    EXPECT_EQ(plan.Output, "/out/c.mp4");
    const Words arguments = EncodeArguments(plan, "/out/.c.mp4.tmp-7.mp4", "/run/log/abc");
    EXPECT_EQ(placeOf(arguments, "-pass", "2") + 2, placeOf(arguments, "-passlogfile", "/run/log/abc"));
    EXPECT_EQ(arguments.back(), "/out/.c.mp4.tmp-7.mp4");
}

TEST(FrontPlan, AThumbnailIsTakenAtTheScreensScaleWhereverItSeeks)
{
    const FrontPlan plan = PlanFor({"-i", "/v/c.avi", "-f", "image2", "-ss", "5", "-vframes", "1", "-s",
                                    "80x60", "-an", "/p/_thumb.jpg"},
                                   {}, 2);
    const Words attempt = ThumbnailAttempt(plan, "/p/._thumb.jpg.tmp-7.jpg", "1.500");
    EXPECT_LT(placeOf(attempt, "-ss", "1.500"), placeOf(attempt, "-i", "/v/c.avi"));
    EXPECT_GE(placeOf(attempt, "-s", "160x120"), 0);
    EXPECT_EQ(attempt.back(), "/p/._thumb.jpg.tmp-7.jpg");
    // A seek already on the input stays there.
    const FrontPlan seeking = PlanFor({"-ss", "3", "-i", "/v/c.avi", "-f", "image2", "/p/t.jpg"});
    const Words again = ThumbnailAttempt(seeking, "/p/t2.jpg", "1");
    EXPECT_EQ(placeOf(again, "-ss", "1") + 2, placeOf(again, "-i", "/v/c.avi"));
    EXPECT_EQ(std::count(again.begin(), again.end(), "-ss"), 1);
}

} // namespace
