#include "tools/ffmpeg-front/Thumbnail.h"

#include "platform/MediaFacts.h"
#include "tools/ffmpeg-front/FrontFailure.h"
#include "tools/ffmpeg-front/TempOutput.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace
{

bool hasPicture(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && info.st_size > 0;
}

std::string middleOf(const std::optional<double>& duration)
{
    char seek[32];
    std::snprintf(seek, sizeof seek, "%.3f", duration ? *duration / 2 : 0.0);
    return seek;
}

// Where the picture is taken: as asked, or in the middle of a clip that ends before that.
std::string seekFor(const FrontPlan& plan, const std::optional<double>& duration)
{
    const std::string& asked = plan.Arguments[plan.SeekAt];
    return duration && std::strtod(asked.c_str(), nullptr) >= *duration ? middleOf(duration) : asked;
}

} // namespace

ChildProcess::Outcome GrabThumbnail(const FrontPlan& plan)
{
    RemoveOrphanedTempOutputs(plan.Output);
    TempOutput temp(plan.Output);
    if (temp.Path().empty())
        return FrontFailure(plan.Output, temp.Problem());
    // The picture the conversion takes, not a cover.
    const MediaFacts source = ProbeMedia(plan.Input);
    const std::optional<double> duration = source.DeclaredSeconds;
    const int video = source.Video ? source.Video->Index : -1;
    ChildProcess::Outcome outcome =
        ChildProcess::Run(ThumbnailAttempt(plan, temp.Path(), seekFor(plan, duration), video));
    // Seeking past the end succeeds without a picture: the clip is shorter than it says.
    if (outcome.Succeeded() && !hasPicture(temp.Path()))
        outcome = ChildProcess::Run(ThumbnailAttempt(plan, temp.Path(), middleOf(duration), video));
    if (!outcome.Succeeded())
        return outcome;
    if (!hasPicture(temp.Path()))
        return FrontFailure(plan.Input, "no picture could be taken");
    const std::string why = temp.MoveOnto(plan.Output);
    return why.empty() ? outcome : FrontFailure(plan.Output, why);
}
