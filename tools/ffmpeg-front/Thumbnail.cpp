#include "tools/ffmpeg-front/Thumbnail.h"

#include "tools/common/MediaProbe.h"
#include "tools/ffmpeg-front/FrontFailure.h"
#include "tools/ffmpeg-front/TempOutput.h"

#include <cstdio>
#include <sys/stat.h>

namespace
{

bool hasPicture(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && info.st_size > 0;
}

std::string middleOf(const std::string& source)
{
    const std::optional<double> duration = ProbeDuration(source);
    char seek[32];
    std::snprintf(seek, sizeof seek, "%.3f", duration ? *duration / 2 : 0.0);
    return seek;
}

} // namespace

ChildProcess::Outcome GrabThumbnail(const FrontPlan& plan)
{
    RemoveOrphanedTempOutputs(plan.Output);
    TempOutput temp(plan.Output);
    if (temp.Path().empty())
        return FrontFailure(plan.Output, temp.Problem());
    ChildProcess::Outcome outcome =
        ChildProcess::Run(ThumbnailAttempt(plan, temp.Path(), plan.Arguments[plan.SeekAt]));
    // Seeking past the end succeeds without a picture: the clip is shorter than the seek time.
    if (outcome.Succeeded() && !hasPicture(temp.Path()))
        outcome = ChildProcess::Run(ThumbnailAttempt(plan, temp.Path(), middleOf(plan.Input)));
    if (!outcome.Succeeded())
        return outcome;
    if (!hasPicture(temp.Path()))
        return FrontFailure(plan.Input, "no picture could be taken");
    const std::string why = temp.MoveOnto(plan.Output);
    return why.empty() ? outcome : FrontFailure(plan.Output, why);
}
