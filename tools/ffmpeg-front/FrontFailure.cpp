#include "tools/ffmpeg-front/FrontFailure.h"

#include <cerrno>
#include <cstdio>

ChildProcess::Outcome FrontFailure(const std::string& path, const std::string& why,
                                   const ChildProcess::Outcome& ended)
{
    std::fprintf(stderr, "%s: %s: %s\n", program_invocation_short_name, path.c_str(), why.c_str());
    return ended.Succeeded() ? ChildProcess::Outcome{1, 0} : ended;
}
