#include "tools/common/MediaProbe.h"

#include "tools/common/FilePaths.h"

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

extern "C" {
#include <libavformat/avformat.h>
}

namespace
{

bool isRegularFile(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isPicture(const AVStream& stream)
{
    return (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

// The longer of `seconds` and `candidate`, when the candidate is a length.
void takeLonger(std::optional<double>& seconds, double candidate)
{
    if (candidate > 0 && std::isfinite(candidate))
        seconds = std::max(seconds.value_or(0), candidate);
}

// The file, closed when it goes.
struct OpenMedia {
    AVFormatContext* context = nullptr;
    ~OpenMedia() { avformat_close_input(&context); }
};

} // namespace

MediaFacts ProbeMedia(const std::string& path)
{
    MediaFacts facts;
    if (!isRegularFile(path))
        return facts;
    // What the file says is for us; the front's own error output is ffmpeg's.
    av_log_set_level(AV_LOG_QUIET);
    OpenMedia media;
    const std::string url = FilePaths::FfmpegFileArgument(path);
    if (avformat_open_input(&media.context, url.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(media.context, nullptr) < 0)
        return facts;
    facts.Read = true;
    const AVFormatContext& context = *media.context;
    if (context.duration != AV_NOPTS_VALUE &&
        context.duration_estimation_method != AVFMT_DURATION_FROM_BITRATE)
        takeLonger(facts.DeclaredSeconds, double(context.duration) / AV_TIME_BASE);
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream& stream = *context.streams[i];
        if (stream.codecpar->codec_type != AVMEDIA_TYPE_VIDEO || isPicture(stream))
            continue;
        facts.HasVideo = true;
        // A header's frame count outlasts a file cut short, whose length is then only guessed.
        if (stream.nb_frames > 0 && stream.avg_frame_rate.num > 0)
            takeLonger(facts.DeclaredSeconds, double(stream.nb_frames) / av_q2d(stream.avg_frame_rate));
    }
    return facts;
}

std::optional<double> ProbeDuration(const std::string& path)
{
    return ProbeMedia(path).DeclaredSeconds;
}
