#include "tools/ffmpeg-front/FrontPlan.h"

#include "tools/common/FilePaths.h"
#include "tools/ffmpeg-front/FitFilter.h"
#include "tools/ffmpeg-front/SourceAdaptation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace
{

// Options of the old line that take a value, and the names ffmpeg knows them by today.
struct Renamed {
    const char* old;
    const char* current;
};
constexpr std::array<Renamed, 5> RenamedOptions{{
    {"-vcodec", "-c:v"},
    {"-acodec", "-c:a"},
    {"-b", "-b:v"},
    {"-ab", "-b:a"},
    {"-vframes", "-frames:v"},
}};

// Options with a value that pass unchanged; the value must not be taken for the output.
constexpr std::array<const char*, 8> ValueOptions{
    "-i", "-pass", "-flags", "-s", "-aspect", "-r", "-ar", "-f",
};

// Options after which an output may rightly be shorter than its source: they drop streams, cut
// the length or seek. (Every "-frames" option counts, whatever its stream.)
constexpr std::array<const char*, 9> ShorteningOptions{
    "-an", "-vn", "-map", "-t", "-to", "-ss", "-shortest", "-fs", "-vframes",
};

// Extensions of outputs that Apple devices read (ISO media files); they get the settings those
// devices need.
constexpr std::array<const char*, 3> AppleExtensions{".mp4", ".m4v", ".mov"};

const char* currentName(const std::string& option)
{
    for (const Renamed& renamed : RenamedOptions)
        if (option == renamed.old)
            return renamed.current;
    return nullptr;
}

bool takesValue(const std::string& option)
{
    return currentName(option) != nullptr || option == "-ss" ||
           std::find(ValueOptions.begin(), ValueOptions.end(), option) != ValueOptions.end();
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool shortens(const std::string& option)
{
    return option.rfind("-frames", 0) == 0 ||
           std::find(ShorteningOptions.begin(), ShorteningOptions.end(), option) != ShorteningOptions.end();
}

bool isAppleOutput(const std::string& output)
{
    const std::string extension = lowerCase(FilePaths::Extension(FilePaths::FileName(output)));
    return std::find(AppleExtensions.begin(), AppleExtensions.end(), extension) != AppleExtensions.end();
}

// ffmpeg's pass numbers: 1 writes the log, 2 reads it, 3 does both.
constexpr long LastPassNumber = 3;

// The pass number, or 0 for anything ffmpeg would not take as one.
int passNumber(const std::string& value)
{
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    return !value.empty() && *end == '\0' && number >= 1 && number <= LastPassNumber
               ? static_cast<int>(number)
               : 0;
}

// What the walk over the old line found.
struct Walk {
    FrontPlan plan;
    std::string videoCodec;
    std::string format;
    std::string size;       // the value of "-s"
    std::string aspect;     // the value of "-aspect"
    std::string rate;       // the value of "-r"
    std::size_t rateAt = 0; // place of "-r" in Arguments, or 0
    std::size_t sizeAt = 0; // place of "-s" in Arguments, or 0
    bool hasVideoFilter = false;
    bool soundless = false;      // "-an" is on the line
    bool ownMaps = false;        // "-map" is on the line
    bool shortened = false;      // an option of ShorteningOptions is on the line
    std::size_t inputAt = 0;     // place of the first "-i" in Arguments
    std::size_t seekAt = 0;      // place of the last "-ss" after an input, or 0
    std::size_t inputSeekAt = 0; // place of the value of a "-ss" before the input, or 0
    bool hasInput = false;
};

void addOption(Walk& walk, const std::string& option, const std::string& value)
{
    std::vector<std::string>& out = walk.plan.Arguments;
    if (option == "-i") {
        if (!walk.hasInput) {
            walk.plan.Input = value;
            walk.inputAt = out.size();
        }
        walk.hasInput = true;
        out.insert(out.end(), {option, FilePaths::FfmpegFileArgument(value)});
        return;
    }
    if (option == "-ss") {
        if (walk.hasInput)
            walk.seekAt = out.size();
        else
            walk.inputSeekAt = out.size() + 1;
    }
    if (option == "-pass") {
        walk.plan.Pass = passNumber(value);
        walk.plan.PassLogAt = out.size() + 2;
    }
    if (option == "-f")
        walk.format = value;
    if (option == "-s") {
        walk.size = value;
        walk.sizeAt = out.size();
    }
    if (option == "-aspect")
        walk.aspect = value;
    if (option == "-r") {
        walk.rate = value;
        walk.rateAt = out.size();
    }
    if (option == "-vcodec")
        walk.videoCodec = value;
    const char* current = currentName(option);
    std::string newValue = value;
    // The old AAC encoder is gone; ffmpeg's own takes its place.
    if (option == "-acodec" && value == "libfaac")
        newValue = "aac";
    // Bit-exact output, on top of the encoder's own defaults (x264's closed GOPs among them),
    // not instead of them.
    if (option == "-flags" && value == "bitexact")
        newValue = "+bitexact";
    out.insert(out.end(), {current != nullptr ? current : option, newValue});
}

// The place of the log level in the line walkOver starts with.
constexpr std::size_t LogLevelAt = 4;

Walk walkOver(const std::vector<std::string>& arguments)
{
    Walk walk;
    // Only errors on the error output: its last line is the reason a pass failed.
    walk.plan.Arguments = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error"};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool last = i + 1 == arguments.size();
        if (last && walk.hasInput && !argument.empty()) {
            walk.plan.Output = argument;
            break;
        }
        walk.hasVideoFilter = walk.hasVideoFilter || argument == "-vf" || argument == "-filter:v";
        walk.soundless = walk.soundless || argument == "-an";
        walk.ownMaps = walk.ownMaps || argument == "-map";
        walk.shortened = walk.shortened || shortens(argument);
        if (!last && takesValue(argument)) {
            addOption(walk, argument, arguments[i + 1]);
            ++i;
        } else {
            walk.plan.Arguments.push_back(argument);
        }
    }
    return walk;
}

// Output settings that make the file play on Apple devices and in their media library. (No VBV
// limits: with them x264's threads make every encode of a file come out different.)
void addAppleSettings(const Walk& walk, std::vector<std::string>& out)
{
    out.insert(out.end(), {"-pix_fmt", "yuv420p"});
    if (walk.videoCodec == "libx264")
        out.insert(out.end(), {"-profile:v", "high", "-level:v", "4.0"});
    out.insert(out.end(), {"-movflags", "+faststart"});
}

// Takes "-r" off the line, so that the output keeps the source's rate.
void dropRate(Walk& walk)
{
    std::vector<std::string>& out = walk.plan.Arguments;
    out.erase(out.begin() + static_cast<std::ptrdiff_t>(walk.rateAt),
              out.begin() + static_cast<std::ptrdiff_t>(walk.rateAt) + 2);
    if (walk.plan.PassLogAt > walk.rateAt)
        walk.plan.PassLogAt -= 2;
}

// Input seeking: the seek moves in front of the first input, where ffmpeg jumps instead of decoding.
void seekBeforeInput(Walk& walk)
{
    std::vector<std::string>& out = walk.plan.Arguments;
    if (walk.seekAt == 0 && walk.inputSeekAt != 0) {
        walk.plan.SeekAt = walk.inputSeekAt;
        return;
    }
    std::string seek = "0";
    if (walk.seekAt != 0) {
        const auto at = out.begin() + static_cast<std::ptrdiff_t>(walk.seekAt);
        seek = at[1];
        out.erase(at, at + 2);
    }
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(walk.inputAt), {"-ss", seek});
    walk.plan.SeekAt = walk.inputAt + 1;
}

// A picture of any shape keeps its proportions in the picture's box, taken `scale` times as
// large for a screen with that many pixels to a point.
void fitThumbnail(Walk& walk, int scale)
{
    int width = 0;
    int height = 0;
    if (std::sscanf(walk.size.c_str(), "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0 ||
        walk.hasVideoFilter)
        return;
    const std::string size = std::to_string(width * scale) + 'x' + std::to_string(height * scale);
    std::vector<std::string>& out = walk.plan.Arguments;
    out[walk.sizeAt + 1] = size;
    out.insert(out.end(), {"-vf", FitFilter(size, std::to_string(width) + ':' + std::to_string(height))});
}

void finishThumbnail(Walk& walk, int scale)
{
    walk.plan.Mode = FrontMode::Thumbnail;
    fitThumbnail(walk, scale);
    seekBeforeInput(walk);
    // Always one file, named as given (no frame-number pattern), replacing the temporary one.
    walk.plan.Arguments.insert(walk.plan.Arguments.end(), {"-update", "1", "-y"});
}

void finishEncode(Walk& walk, const MediaFacts& source)
{
    FrontPlan& plan = walk.plan;
    std::vector<std::string>& out = plan.Arguments;
    const bool apple = isAppleOutput(plan.Output);
    const OutputShape shape{walk.size,
                            walk.aspect,
                            std::strtod(walk.rate.c_str(), nullptr),
                            walk.videoCodec == "libx264",
                            apple,
                            walk.soundless,
                            walk.hasVideoFilter,
                            walk.ownMaps};
    const SourceAdaptation adaptation = AdaptationFor(source, shape);
    if (adaptation.DropRate && walk.rateAt != 0)
        dropRate(walk);
    if (!adaptation.VideoFilters.empty())
        out.insert(out.end(), {"-vf", adaptation.VideoFilters});
    if (!adaptation.SoundSink.empty())
        out.insert(out.end(), {"-filter_complex", adaptation.SoundSink});
    out.insert(out.end(), adaptation.Options.begin(), adaptation.Options.end());
    if (apple)
        addAppleSettings(walk, out);
    plan.SourceSeconds = source.DeclaredSeconds;
    plan.SubtitlesLeftOut = adaptation.SubtitlesLeftOut;
    plan.QuickTimeKeys = source.QuickTimeKeys;
    plan.Mode = plan.Pass != 0 ? FrontMode::TwoPass : FrontMode::Encode;
    plan.IsoMediaOutput = apple && walk.format.empty();
    plan.KeepsLength = !walk.shortened;
    // The front reads the log for write errors and passes the errors on; ffmpeg's progress goes
    // to the standard output as key=value lines.
    out[LogLevelAt] = "level+info";
    out.insert(out.end(), {"-nostats", "-progress", "pipe:1"});
}

void finishOutput(Walk& walk, const MediaFacts& source, int pictureScale)
{
    if (walk.format == "image2")
        finishThumbnail(walk, pictureScale);
    else
        finishEncode(walk, source);
    walk.plan.OutputAt = walk.plan.Arguments.size();
    walk.plan.Arguments.push_back(FilePaths::FfmpegFileArgument(walk.plan.Output));
}

} // namespace

FrontPlan PlanFor(const std::vector<std::string>& arguments, const MediaFacts& source, int pictureScale)
{
    Walk walk = walkOver(arguments);
    if (!walk.plan.Output.empty())
        finishOutput(walk, source, std::max(pictureScale, 1));
    return walk.plan;
}

namespace
{

std::vector<std::string> writingTo(const FrontPlan& plan, const std::string& output)
{
    std::vector<std::string> arguments = plan.Arguments;
    arguments[plan.OutputAt] = FilePaths::FfmpegFileArgument(output);
    return arguments;
}

} // namespace

std::vector<std::string> EncodeArguments(const FrontPlan& plan, const std::string& output,
                                         const std::string& passLogPrefix)
{
    std::vector<std::string> arguments = writingTo(plan, output);
    if (plan.Mode == FrontMode::TwoPass)
        arguments.insert(arguments.begin() + static_cast<std::ptrdiff_t>(plan.PassLogAt),
                         {"-passlogfile", passLogPrefix});
    return arguments;
}

std::vector<std::string> ThumbnailAttempt(const FrontPlan& plan, const std::string& output,
                                          const std::string& seek, int video)
{
    std::vector<std::string> arguments = writingTo(plan, output);
    arguments[plan.SeekAt] = seek;
    if (video >= 0)
        arguments.insert(arguments.begin() + static_cast<std::ptrdiff_t>(plan.OutputAt),
                         {"-map", "0:" + std::to_string(video)});
    return arguments;
}
