#include "tools/common/MediaProbe.h"

#include "tools/common/ChildProcess.h"
#include "tools/common/FilePaths.h"

#include <cmath>
#include <cstdlib>

std::optional<double> ProbeDuration(const std::string& path)
{
    std::string output;
    if (!ChildProcess::Capture({"ffprobe", "-v", "error", "-show_entries", "format=duration", "-of",
                                "default=noprint_wrappers=1:nokey=1", FilePaths::FfmpegFileArgument(path)},
                               output))
        return std::nullopt;
    // The tools never change the locale, so strtod reads the "." ffprobe writes.
    char* end = nullptr;
    const double seconds = std::strtod(output.c_str(), &end);
    if (end == output.c_str() || !std::isfinite(seconds) || seconds < 0)
        return std::nullopt;
    return seconds;
}

std::optional<bool> ProbeHasVideo(const std::string& path)
{
    std::string output;
    if (!ChildProcess::Capture({"ffprobe", "-v", "error", "-select_streams", "v", "-show_entries",
                                "stream=codec_type", "-of", "csv=p=0", FilePaths::FfmpegFileArgument(path)},
                               output))
        return std::nullopt;
    return output.find("video") != std::string::npos;
}
