#include "tools/ffmpeg-front/SourceState.h"

#include <cinttypes>
#include <cstdio>

SourceState StateOf(const std::string& path)
{
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0)
        return {};
    return {info.st_size, info.st_mtim};
}

void KeepState(const SourceState& state, const std::string& keeper)
{
    if (std::FILE* file = std::fopen(keeper.c_str(), "we")) {
        std::fprintf(file, "%jd %jd %ld\n", static_cast<intmax_t>(state.Size),
                     static_cast<intmax_t>(state.Modified.tv_sec), state.Modified.tv_nsec);
        std::fclose(file);
    }
}

SourceState KeptState(const std::string& keeper)
{
    SourceState state;
    intmax_t size = -1;
    intmax_t seconds = 0;
    long nanoseconds = 0;
    if (std::FILE* file = std::fopen(keeper.c_str(), "re")) {
        if (std::fscanf(file, "%jd %jd %ld", &size, &seconds, &nanoseconds) == 3)
            state = {static_cast<off_t>(size), {static_cast<time_t>(seconds), nanoseconds}};
        std::fclose(file);
    }
    return state;
}
