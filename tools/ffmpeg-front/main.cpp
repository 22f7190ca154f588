// ffmpeg.exe: takes the command lines Korumi writes and runs Debian's ffmpeg with today's
// equivalent options.
#include "platform/MediaFacts.h"
#include "tools/common/ChildProcess.h"
#include "tools/common/FilePaths.h"
#include "tools/ffmpeg-front/Encode.h"
#include "tools/ffmpeg-front/FrontFailure.h"
#include "tools/ffmpeg-front/FrontPlan.h"
#include "tools/ffmpeg-front/PassLog.h"
#include "tools/ffmpeg-front/Thumbnail.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace
{

// The exit status for "ffmpeg cannot be run": Korumi stops the whole run on it, as every file
// would fail the same way. (ffmpeg's own statuses are 0, 1 and 255.)
constexpr int FfmpegMissingStatus = KORUMI_FFMPEG_MISSING_STATUS;

// ffmpeg's outcome, with its failure to start told apart from its failures.
[[noreturn]] void exitLike(const ChildProcess::Outcome& outcome)
{
    if (outcome.Signal == 0 && outcome.ExitCode == NotStartedStatus)
        std::exit(FfmpegMissingStatus);
    ChildProcess::ExitLike(outcome);
}

// The run both passes of a file belong to: Korumi names itself in KORUMI_RUN; a front started
// some other way belongs to whatever started it.
pid_t runOfPasses()
{
    const char* given = std::getenv("KORUMI_RUN");
    char* end = nullptr;
    const long run = given != nullptr ? std::strtol(given, &end, 10) : 0;
    return run > 0 && *end == '\0' ? static_cast<pid_t>(run) : getppid();
}

int runPass(const FrontPlan& plan)
{
    const std::string folder =
        PassLog::FolderPath(std::getenv("XDG_RUNTIME_DIR"), std::getenv("XDG_CACHE_HOME"),
                            std::getenv("HOME"), PassLog::HostName());
    const std::string problem = folder.empty()
                                    ? "neither XDG_RUNTIME_DIR, XDG_CACHE_HOME nor HOME names a folder"
                                    : PassLog::MakePrivate(folder, getuid());
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: cannot keep the pass log: %s\n", program_invocation_short_name,
                     problem.c_str());
        return EXIT_FAILURE;
    }
    PassLog::RemoveStale(folder, std::time(nullptr));
    const std::string prefix = PassLog::Prefix(folder, FilePaths::Absolute(plan.Output), runOfPasses());
    // The source as the first pass found it: one that changes before the second pass ends is
    // still being written.
    const std::string keeper = PassLog::Companion(prefix, "source");
    SourceState source = StateOf(plan.Input);
    if (plan.Pass == 1)
        KeepState(source, keeper);
    else if (const SourceState kept = KeptState(keeper); kept.Size >= 0)
        source = kept;
    const ChildProcess::Outcome outcome = Encode(plan, source, prefix);
    if (plan.Pass == 2)
        PassLog::Remove(prefix);
    exitLike(outcome);
}

// A conversion needs a moving picture; a music file has none, cover art or not.
[[noreturn]] void refuseWithoutVideo(const FrontPlan& plan)
{
    exitLike(FrontFailure(plan.Input, "the source has no video"));
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // Korumi asks for pictures as large as its screen shows them sharp.
    const char* pictureScale = std::getenv("KORUMI_PICTURE_SCALE");
    FrontPlan plan = PlanFor(arguments, {}, pictureScale != nullptr ? std::atoi(pictureScale) : 1);
    // What an encode asks of ffmpeg depends on its source, learnt once here.
    if (plan.Mode == FrontMode::Encode || plan.Mode == FrontMode::TwoPass) {
        const MediaFacts source = ProbeMedia(plan.Input);
        if (source.Read && !source.HasVideo())
            refuseWithoutVideo(plan);
        plan = PlanFor(arguments, source);
    }
    switch (plan.Mode) {
    case FrontMode::Encode:
        exitLike(Encode(plan, StateOf(plan.Input)));
    case FrontMode::TwoPass:
        return runPass(plan);
    case FrontMode::Thumbnail:
        ChildProcess::ExitLike(GrabThumbnail(plan));
    case FrontMode::Exec:
        break;
    }
    ChildProcess::Exec(plan.Arguments);
    return FfmpegMissingStatus; // Exec returns only when ffmpeg could not be run
}
