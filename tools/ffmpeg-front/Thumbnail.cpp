#include "tools/ffmpeg-front/Thumbnail.h"

#include "tools/common/FilePaths.h"
#include "tools/common/MediaProbe.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string tempStart(const std::string& output)
{
    return '.' + FilePaths::FileName(output) + ".tmp-";
}

bool hasPicture(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && info.st_size > 0;
}

bool isRunning(pid_t pid)
{
    return kill(pid, 0) == 0 || errno != ESRCH;
}

std::string middleOf(const std::string& source)
{
    const std::optional<double> duration = ProbeDuration(source);
    char seek[32];
    std::snprintf(seek, sizeof seek, "%.3f", duration ? *duration / 2 : 0.0);
    return seek;
}

ChildProcess::Outcome failure(const std::string& path, const char* why)
{
    std::fprintf(stderr, "%s: %s: %s\n", program_invocation_short_name, path.c_str(), why);
    return {1, 0};
}

} // namespace

std::string ThumbnailTempPath(const std::string& output, pid_t grabber)
{
    const std::string folder = FilePaths::Folder(output);
    return folder + '/' + tempStart(output) + std::to_string(grabber) +
           FilePaths::Extension(FilePaths::FileName(output));
}

void RemoveOrphanTemps(const std::string& output)
{
    const std::string folder = FilePaths::Folder(output);
    const std::string start = tempStart(output);
    FilePaths::ForEachEntry(folder, [&](const std::string& name) {
        if (name.compare(0, start.size(), start) != 0)
            return;
        const long grabber = std::strtol(name.c_str() + start.size(), nullptr, 10);
        if (grabber > 0 && !isRunning(static_cast<pid_t>(grabber)))
            unlink((folder + '/' + name).c_str());
    });
}

ChildProcess::Outcome GrabThumbnail(const FrontPlan& plan)
{
    RemoveOrphanTemps(plan.Output);
    const std::string temp = ThumbnailTempPath(plan.Output, getpid());
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
        return failure(plan.Input, "no picture could be taken");
    }
    if (rename(temp.c_str(), plan.Output.c_str()) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        return failure(plan.Output, std::strerror(error));
    }
    return outcome;
}
