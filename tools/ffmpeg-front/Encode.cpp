#include "tools/ffmpeg-front/Encode.h"

#include "tools/common/FilePaths.h"
#include "tools/ffmpeg-front/FfmpegLog.h"
#include "tools/ffmpeg-front/FrontFailure.h"
#include "tools/ffmpeg-front/MovieKeys.h"
#include "tools/ffmpeg-front/OutputCheck.h"
#include "tools/ffmpeg-front/TempOutput.h"

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace
{

std::string noTemporaryFile(const TempOutput& temp)
{
    return "no temporary file can be made beside it (" + temp.Problem() + ")";
}

// Puts `temp` in place of the output, with the source's date and the camera's keys.
ChildProcess::Outcome putInPlace(const FrontPlan& plan, TempOutput& temp, const ChildProcess::Outcome& ended)
{
    std::optional<TempOutput> keyed;
    if (!plan.QuickTimeKeys.empty() && plan.IsoMediaOutput) {
        keyed.emplace(plan.Output);
        if (keyed->Path().empty())
            return FrontFailure(plan.Output, noTemporaryFile(*keyed));
        if (const std::string why = CopyWithMovieKeys(temp.Path(), keyed->Descriptor(), plan.QuickTimeKeys);
            !why.empty())
            return FrontFailure(plan.Output, why);
    }
    TempOutput& result = keyed ? *keyed : temp;
    // A converted holiday keeps the day it was taken in every photo library.
    result.DateAs(plan.Input);
    const std::string why = result.MoveOnto(plan.Output);
    return why.empty() ? ended : FrontFailure(plan.Output, why);
}

// What becomes of ffmpeg's work in `temp` once it has ended as `ended`.
ChildProcess::Outcome settle(const FrontPlan& plan, TempOutput& temp, const FfmpegLog& log,
                             const SourceState& sourceAtStart, const ChildProcess::Outcome& ended)
{
    if (const int stop = ChildProcess::StopSignal())
        return FrontFailure(plan.Output, "stopped before the end",
                            ended.Succeeded() ? ChildProcess::Outcome{0, stop} : ended);
    if (!log.WriteError().empty())
        return FrontFailure(plan.Output, "the output is incomplete (" + log.WriteError() + ")", ended);
    // A recording or a download that goes on: whatever ffmpeg made of it is not the whole.
    if (StateOf(plan.Input) != sourceAtStart)
        return FrontFailure(plan.Input,
                            "the source is still being written (it changed while it was converted)", ended);
    if (!ended.Succeeded())
        return ended; // ffmpeg has said why
    if (const std::string why = OutputShortcoming(plan, temp.Path(), plan.SourceSeconds); !why.empty())
        return FrontFailure(plan.Input, why);
    return plan.Pass == 1 ? ended : putInPlace(plan, temp, ended);
}

// Tells the reader what it needs before the encode: the length to count progress in, and what
// of the source the output leaves out.
void announce(const FrontPlan& plan, const FfmpegLog& log, const std::string& temp)
{
    log.AnnounceWriting(FilePaths::Absolute(temp));
    if (plan.SourceSeconds) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", *plan.SourceSeconds);
        log.Announce("duration", seconds);
    }
    for (const SubtitleFacts& subtitle : plan.SubtitlesLeftOut)
        log.Announce("subtitle_left_out", subtitle.Kind == SubtitleKind::Picture    ? "picture"
                                          : subtitle.Kind == SubtitleKind::Teletext ? "teletext"
                                                                                    : subtitle.Codec);
}

} // namespace

ChildProcess::Outcome Encode(const FrontPlan& plan, const SourceState& sourceAtStart,
                             const std::string& passLogPrefix)
{
    // Told before the encode, not after it: the file is kept whatever the encode would give.
    if (const std::string why = CannotReplace(plan.Output); !why.empty())
        return FrontFailure(plan.Output, why);
    RemoveOrphanedTempOutputs(plan.Output);
    TempOutput temp(plan.Output);
    if (temp.Path().empty())
        return FrontFailure(plan.Output, noTemporaryFile(temp));
    FfmpegLog log(STDOUT_FILENO, STDERR_FILENO, FilePaths::FfmpegFileArgument(temp.Path()),
                  FilePaths::FfmpegFileArgument(plan.Output));
    announce(plan, log, temp.Path());
    const ChildProcess::Outcome ended =
        ChildProcess::RunReadingErrors(EncodeArguments(plan, temp.Path(), passLogPrefix),
                                       [&log](std::string_view bytes) { log.Add(bytes); });
    log.Finish();
    return settle(plan, temp, log, sourceAtStart, ended); // what is not put in place goes with `temp`
}
