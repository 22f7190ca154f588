#include "tools/ffmpeg-front/Encode.h"

#include "tools/common/FilePaths.h"
#include "tools/ffmpeg-front/FfmpegLog.h"
#include "tools/ffmpeg-front/FrontFailure.h"
#include "tools/ffmpeg-front/OutputCheck.h"
#include "tools/ffmpeg-front/TempOutput.h"

#include <algorithm>
#include <unistd.h>

namespace
{

// How long the source is: as ffmpeg read it, or as the file declares itself where that is longer.
// ffmpeg takes the length of a file cut short (half downloaded) from what is left of it.
std::optional<double> sourceSeconds(const FrontPlan& plan, const FfmpegLog& log)
{
    const std::optional<double> declared = plan.SourceSeconds;
    if (!declared || !log.SourceSeconds())
        return declared ? declared : log.SourceSeconds();
    return std::max(*declared, *log.SourceSeconds());
}

// What becomes of ffmpeg's work in `temp` once it has ended as `ended`.
ChildProcess::Outcome settle(const FrontPlan& plan, TempOutput& temp, const FfmpegLog& log,
                             const ChildProcess::Outcome& ended)
{
    if (const int stop = ChildProcess::StopSignal())
        return FrontFailure(plan.Output, "stopped before the end",
                            ended.Succeeded() ? ChildProcess::Outcome{0, stop} : ended);
    if (!log.WriteError().empty())
        return FrontFailure(plan.Output, "the output is incomplete (" + log.WriteError() + ")", ended);
    if (!ended.Succeeded())
        return ended; // ffmpeg has said why
    const std::string shortcoming = OutputShortcoming(plan, temp.Path(), sourceSeconds(plan, log));
    if (!shortcoming.empty())
        return FrontFailure(plan.Output, shortcoming);
    if (plan.Pass == 1)
        return ended;
    // A converted holiday keeps the day it was taken in every photo library.
    temp.DateAs(plan.Input);
    const std::string why = temp.MoveOnto(plan.Output);
    return why.empty() ? ended : FrontFailure(plan.Output, why);
}

} // namespace

ChildProcess::Outcome Encode(const FrontPlan& plan, const std::string& passLogPrefix)
{
    // Told before the encode, not after it: the file is kept whatever the encode would give.
    if (const std::string why = CannotReplace(plan.Output); !why.empty())
        return FrontFailure(plan.Output, why);
    RemoveOrphanedTempOutputs(plan.Output);
    TempOutput temp(plan.Output);
    if (temp.Path().empty())
        return FrontFailure(plan.Output, "no temporary file can be made beside it (" + temp.Problem() + ")");
    FfmpegLog log(STDOUT_FILENO, STDERR_FILENO, FilePaths::FfmpegFileArgument(temp.Path()),
                  FilePaths::FfmpegFileArgument(plan.Output));
    log.AnnounceWriting(FilePaths::Absolute(temp.Path()));
    if (plan.PictureSubtitlesLeftOut > 0)
        log.Announce("picture_subtitles_left_out", std::to_string(plan.PictureSubtitlesLeftOut));
    const ChildProcess::Outcome ended =
        ChildProcess::RunReadingErrors(EncodeArguments(plan, temp.Path(), passLogPrefix),
                                       [&log](std::string_view bytes) { log.Add(bytes); });
    log.Finish();
    return settle(plan, temp, log, ended); // what is not put in place goes with `temp`
}
