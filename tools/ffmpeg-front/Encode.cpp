#include "tools/ffmpeg-front/Encode.h"

#include "tools/common/FilePaths.h"
#include "tools/ffmpeg-front/FfmpegLog.h"
#include "tools/ffmpeg-front/FrontFailure.h"
#include "tools/ffmpeg-front/OutputCheck.h"
#include "tools/ffmpeg-front/TempOutput.h"

#include <unistd.h>

namespace
{

// What becomes of ffmpeg's work in `temp` once it has ended as `ended`.
ChildProcess::Outcome settle(const FrontPlan& plan, const std::string& temp, const FfmpegLog& log,
                             const ChildProcess::Outcome& ended)
{
    if (const int stop = ChildProcess::StopSignal())
        return FrontFailure(plan.Output, "stopped before the end",
                            ended.Succeeded() ? ChildProcess::Outcome{0, stop} : ended);
    if (!log.WriteError().empty())
        return FrontFailure(plan.Output, "the output is incomplete (" + log.WriteError() + ")", ended);
    if (!ended.Succeeded())
        return ended; // ffmpeg has said why
    const std::string shortcoming = OutputShortcoming(plan, temp, log.SourceSeconds());
    if (!shortcoming.empty())
        return FrontFailure(plan.Output, shortcoming);
    if (plan.Pass == 1)
        return ended;
    const std::string why = TempOutput::MoveOnto(temp, plan.Output);
    return why.empty() ? ended : FrontFailure(plan.Output, why);
}

} // namespace

ChildProcess::Outcome Encode(const FrontPlan& plan, const std::string& passLogPrefix)
{
    TempOutput::RemoveOrphans(plan.Output);
    const std::string temp = TempOutput::PathFor(plan.Output, getpid());
    FfmpegLog log(STDOUT_FILENO, STDERR_FILENO, FilePaths::FfmpegFileArgument(temp),
                  FilePaths::FfmpegFileArgument(plan.Output));
    log.AnnounceWriting(FilePaths::Absolute(temp));
    const ChildProcess::Outcome ended = ChildProcess::RunReadingErrors(
        EncodeArguments(plan, temp, passLogPrefix), [&log](std::string_view bytes) { log.Add(bytes); });
    log.Finish();
    const ChildProcess::Outcome outcome = settle(plan, temp, log, ended);
    unlink(temp.c_str()); // whatever was not renamed onto the output
    return outcome;
}
