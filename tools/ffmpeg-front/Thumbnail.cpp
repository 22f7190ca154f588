#include "tools/ffmpeg-front/Thumbnail.h"

#include "tools/common/MediaProbe.h"
#include "tools/ffmpeg-front/FrontFailure.h"
#include "tools/ffmpeg-front/TempOutput.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

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
    TempOutput::RemoveOrphans(plan.Output);
    const std::string temp = TempOutput::PathFor(plan.Output, getpid());
    ChildProcess::Outcome outcome =
        ChildProcess::Run(ThumbnailAttempt(plan, temp, plan.Arguments[plan.SeekAt]));
    // Seeking past the end succeeds without a picture: the clip is shorter than the seek time.
    if (outcome.Succeeded() && !hasPicture(temp))
        outcome = ChildProcess::Run(ThumbnailAttempt(plan, temp, middleOf(plan.Input)));
    if (!outcome.Succeeded()) {
        unlink(temp.c_str());
        return outcome;
    }
    if (!hasPicture(temp)) {
        unlink(temp.c_str());
        return FrontFailure(plan.Input, "no picture could be taken");
    }
    const std::string why = TempOutput::MoveOnto(temp, plan.Output);
    return why.empty() ? outcome : FrontFailure(plan.Output, why);
}
