// The translation of Korumi's command lines into today's ffmpeg options.
#include "tools/ffmpeg-front/FrontPlan.h"
#include "tools/ffmpeg-front/FitFilter.h"

#include <gtest/gtest.h>

namespace
{

using Words = std::vector<std::string>;

struct PlanCase {
    const char* name;
    Words given;
    FrontMode mode;
    Words expected;
};

void PrintTo(const PlanCase& c, std::ostream* out)
{
    *out << c.name;
}

class FrontPlanTranslation : public ::testing::TestWithParam<PlanCase>
{
};

TEST_P(FrontPlanTranslation, GivesTheModernLine)
{
    const FrontPlan plan = PlanFor(GetParam().given);
    EXPECT_EQ(plan.Mode, GetParam().mode);
    EXPECT_EQ(plan.Arguments, GetParam().expected);
}

const Words AppleX264{"-pix_fmt", "yuv420p", "-profile:v", "high",
                      "-level:v", "4.0",     "-movflags",  "+faststart"};

Words join(std::initializer_list<Words> parts)
{
    Words all;
    for (const Words& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FrontPlanTranslation,
    ::testing::Values(
        PlanCase{
            "SinglePass",
            {"-i",      "/v/clip.avi", "-y",      "-flags", "bitexact", "-s",           "720x480", "-aspect",
             "16:9",    "-vcodec",     "libx264", "-b",     "2048k",    "-r",           "30",      "-acodec",
             "libfaac", "-ab",         "128k",    "-ar",    "44100",    "/out/clip.mp4"},
            FrontMode::Encode,
            join({{"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "level+info", "-i",      "/v/clip.avi",
                   "-y",     "-flags",   "bitexact",     "-s",        "720x480",    "-aspect", "16:9",
                   "-c:v",   "libx264",  "-b:v",         "2048k",     "-r",         "30",      "-c:a",
                   "aac",    "-b:a",     "128k",         "-ar",       "44100"},
                  {"-vf", FitFilter("720x480", "16:9")},
                  AppleX264,
                  {"-nostats", "-progress", "pipe:1", "/out/clip.mp4"}})},
        PlanCase{"FirstOfTwoPassesKeepsBothNoAudioFlags",
                 {"-i", "/v/c.avi", "-y", "-pass", "1", "-an", "-flags", "bitexact", "-vcodec", "mpeg4", "-b",
                  "512k", "-acodec", "libfaac", "-an", "/out/c.mp4"},
                 FrontMode::TwoPass,
                 {"ffmpeg",   "-nostdin",  "-hide_banner", "-loglevel", "level+info", "-i",
                  "/v/c.avi", "-y",        "-pass",        "1",         "-an",        "-flags",
                  "bitexact", "-c:v",      "mpeg4",        "-b:v",      "512k",       "-c:a",
                  "aac",      "-an",       "-pix_fmt",     "yuv420p",   "-movflags",  "+faststart",
                  "-nostats", "-progress", "pipe:1",       "/out/c.mp4"}},
        PlanCase{
            "ThumbnailSeeksOnTheInput",
            {"-i", "/v/c.avi", "-f", "image2", "-ss", "5", "-vframes", "1", "-s", "80x60", "-an",
             "/p/_thumb.jpg"},
            FrontMode::Thumbnail,
            {"ffmpeg",  "-nostdin", "-hide_banner", "-loglevel",    "error",  "-ss",
             "5",       "-i",       "/v/c.avi",     "-f",           "image2", "-frames:v",
             "1",       "-s",       "80x60",        "-an",          "-vf",    FitFilter("80x60", "80:60"),
             "-update", "1",        "-y",           "/p/_thumb.jpg"}},
        PlanCase{"UnknownOptionsPassUnchanged",
                 {"-threads", "2", "-i", "/v/c.avi", "-weird", "-vcodec", "copy", "/out/c.mkv"},
                 FrontMode::Encode,
                 {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "level+info", "-threads", "2", "-i",
                  "/v/c.avi", "-weird", "-c:v", "copy", "-nostats", "-progress", "pipe:1", "/out/c.mkv"}},
        PlanCase{"NoInputMeansNoOutput",
                 {"-version"},
                 FrontMode::Exec,
                 {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-version"}},
        PlanCase{"RelativeNamesAreFiles",
                 {"-i", "-x:y.avi", "-vcodec", "mpeg4", "-o.mp4"},
                 FrontMode::Encode,
                 {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "level+info", "-i", "file:-x:y.avi",
                  "-c:v", "mpeg4", "-pix_fmt", "yuv420p", "-movflags", "+faststart", "-nostats", "-progress",
                  "pipe:1", "file:-o.mp4"}},
        PlanCase{"PassOtherThanANumberIsLeftToFfmpeg",
                 {"-i", "/v/c.avi", "-pass", "x", "/out/c.mkv"},
                 FrontMode::Encode,
                 {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "level+info", "-i", "/v/c.avi", "-pass",
                  "x", "-nostats", "-progress", "pipe:1", "/out/c.mkv"}}),
    [](const ::testing::TestParamInfo<PlanCase>& info) { return std::string(info.param.name); });

TEST(FrontPlan, PassLogGoesRightAfterThePassNumberAndFfmpegWritesTheTemporaryFile)
{
    const FrontPlan plan =
        PlanFor({"-i", "/v/c.avi", "-y", "-pass", "2", "-vcodec", "libx264", "/out/c.mp4"});
    ASSERT_EQ(plan.Mode, FrontMode::TwoPass);
    EXPECT_EQ(plan.Pass, 2);
    EXPECT_EQ(plan.Output, "/out/c.mp4");
    const Words arguments = EncodeArguments(plan, "/out/.c.mp4.tmp-7.mp4", "/run/log/abc");
    const Words start(arguments.begin(), arguments.begin() + 12);
    EXPECT_EQ(start, (Words{"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "level+info", "-i", "/v/c.avi",
                            "-y", "-pass", "2", "-passlogfile", "/run/log/abc"}));
    EXPECT_EQ(arguments.back(), "/out/.c.mp4.tmp-7.mp4");
}

TEST(FrontPlan, ThumbnailAttemptReplacesSeekAndOutputAndTakesThePictureAtTheScreensScale)
{
    const FrontPlan plan = PlanFor({"-i", "/v/c.avi", "-f", "image2", "-ss", "5", "-vframes", "1", "-s",
                                    "80x60", "-an", "/p/_thumb.jpg"},
                                   {}, 2);
    EXPECT_EQ(plan.Input, "/v/c.avi");
    EXPECT_EQ(plan.Output, "/p/_thumb.jpg");
    EXPECT_EQ(ThumbnailAttempt(plan, "/p/._thumb.jpg.tmp-7.jpg", "1.500"),
              (Words{"ffmpeg",
                     "-nostdin",
                     "-hide_banner",
                     "-loglevel",
                     "error",
                     "-ss",
                     "1.500",
                     "-i",
                     "/v/c.avi",
                     "-f",
                     "image2",
                     "-frames:v",
                     "1",
                     "-s",
                     "160x120",
                     "-an",
                     "-vf",
                     FitFilter("160x120", "80:60"),
                     "-update",
                     "1",
                     "-y",
                     "/p/._thumb.jpg.tmp-7.jpg"}));
}

TEST(FrontPlan, ThumbnailKeepsASeekThatIsAlreadyOnTheInput)
{
    const FrontPlan plan = PlanFor({"-ss", "3", "-i", "/v/c.avi", "-f", "image2", "/p/t.jpg"});
    EXPECT_EQ(ThumbnailAttempt(plan, "/p/t2.jpg", "1"),
              (Words{"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-ss", "1", "-i", "/v/c.avi",
                     "-f", "image2", "-update", "1", "-y", "/p/t2.jpg"}));
}

} // namespace
