#include "tools/ffmpeg-front/OutputCheck.h"

#include "tools/ffmpeg-front/IsoMedia.h"

#include <algorithm>
#include <cstdio>

namespace
{

// How much shorter than its source an output may be. Rounding, the audio encoder's priming and a
// changed frame rate cost a fraction of a second; a source cut off while it was read costs more.
constexpr double MarginSeconds = 1.0;
constexpr double MarginShare = 0.05;

bool clearlyShorter(double output, double source)
{
    return source - output > std::max(MarginSeconds, MarginShare * source);
}

} // namespace

std::string OutputShortcoming(const FrontPlan& plan, const std::string& file,
                              std::optional<double> sourceSeconds)
{
    if (!plan.IsoMediaOutput)
        return {};
    const IsoMedia media = ReadIsoMedia(file);
    if (!media.Whole)
        return "the output is incomplete";
    if (!plan.KeepsLength || !sourceSeconds || !media.Seconds ||
        !clearlyShorter(*media.Seconds, *sourceSeconds))
        return {};
    char why[96];
    std::snprintf(why, sizeof why, "the output is %.1f s long, its source %.1f s", *media.Seconds,
                  *sourceSeconds);
    return why;
}
