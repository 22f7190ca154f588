// ffmpeg.exe: takes the command lines Korumi writes and runs Debian's ffmpeg with today's
// equivalent options.
#include "tools/common/ChildProcess.h"
#include "tools/common/FilePaths.h"
#include "tools/common/MediaProbe.h"
#include "tools/ffmpeg-front/FrontPlan.h"
#include "tools/ffmpeg-front/PassLog.h"
#include "tools/ffmpeg-front/Thumbnail.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace
{

int runPass(const FrontPlan& plan)
{
    // A source without pictures gives the first pass nothing to analyse; the second does it all.
    if (plan.Pass == 1 && ProbeHasVideo(plan.Input) == std::optional<bool>(false))
        return EXIT_SUCCESS;
    const std::string folder = PassLog::FolderPath(std::getenv("XDG_RUNTIME_DIR"), getuid());
    const std::string problem = PassLog::MakePrivate(folder, getuid());
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: cannot keep the pass log: %s\n", program_invocation_short_name,
                     problem.c_str());
        return EXIT_FAILURE;
    }
    PassLog::RemoveStale(folder, std::time(nullptr));
    const std::string prefix = PassLog::Prefix(folder, FilePaths::Absolute(plan.Output));
    const std::vector<std::string> arguments = WithPassLog(plan, prefix);
    // Only the last pass has to outlive ffmpeg, to remove the log.
    if (plan.Pass != 2)
        return ChildProcess::Exec(arguments);
    const ChildProcess::Outcome outcome = ChildProcess::Run(arguments);
    PassLog::Remove(prefix);
    ChildProcess::ExitLike(outcome);
}

} // namespace

int main(int argc, char** argv)
{
    const FrontPlan plan = PlanFor({argv + 1, argv + argc});
    switch (plan.Mode) {
    case FrontMode::TwoPass:
        return runPass(plan);
    case FrontMode::Thumbnail:
        ChildProcess::ExitLike(GrabThumbnail(plan));
    case FrontMode::Exec:
        break;
    }
    return ChildProcess::Exec(plan.Arguments);
}
