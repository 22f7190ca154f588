#include "platform/MediaFacts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

extern "C" {
#include <libavcodec/codec_desc.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/mastering_display_metadata.h>
#include <libavutil/pixdesc.h>
}

namespace
{

// Tags of the moment, place and camera a clip was taken with, as QuickTime files and phones keep them.
constexpr const char* CaptureTags[] = {"creation_time", "location", "com.apple.quicktime."};

bool isRegularFile(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isPicture(const AVStream& stream)
{
    return (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

bool isDefault(const AVStream& stream)
{
    return (stream.disposition & AV_DISPOSITION_DEFAULT) != 0;
}

// The longer of `seconds` and `candidate`, when the candidate is a length.
void takeLonger(std::optional<double>& seconds, double candidate)
{
    if (candidate > 0 && std::isfinite(candidate))
        seconds = std::max(seconds.value_or(0), candidate);
}

// ffmpeg's name of a colour property; empty when the file leaves it open.
std::string nameOf(const char* name, bool specified)
{
    return specified && name != nullptr ? name : "";
}

bool hasCaptureTags(const AVDictionary* tags)
{
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(tags, "", entry, AV_DICT_IGNORE_SUFFIX)) != nullptr) {
        for (const char* prefix : CaptureTags) {
            if (std::strncmp(entry->key, prefix, std::strlen(prefix)) == 0)
                return true;
        }
    }
    return false;
}

// The brightest light the stream's side data tells of: its content light level, else the peak
// of the display it was mastered on.
double peakNits(const AVStream& stream)
{
    const auto* light = reinterpret_cast<const AVContentLightMetadata*>(
        av_stream_get_side_data(&stream, AV_PKT_DATA_CONTENT_LIGHT_LEVEL, nullptr));
    if (light != nullptr && light->MaxCLL > 0)
        return light->MaxCLL;
    const auto* display = reinterpret_cast<const AVMasteringDisplayMetadata*>(
        av_stream_get_side_data(&stream, AV_PKT_DATA_MASTERING_DISPLAY_METADATA, nullptr));
    return display != nullptr && display->has_luminance ? av_q2d(display->max_luminance) : 0;
}

int rotationOf(const AVStream& stream)
{
    const auto* matrix = reinterpret_cast<const int32_t*>(
        av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr));
    if (matrix == nullptr)
        return 0;
    const double counterClockwise = av_display_rotation_get(matrix);
    return std::isfinite(counterClockwise)
               ? (static_cast<int>(std::lround(-counterClockwise)) % 360 + 360) % 360
               : 0;
}

VideoFacts videoFacts(const AVStream& stream, int index)
{
    const AVCodecParameters& codec = *stream.codecpar;
    VideoFacts video;
    video.Index = index;
    video.Width = codec.width;
    video.Height = codec.height;
    video.FramesPerSecond = stream.avg_frame_rate.num > 0 ? av_q2d(stream.avg_frame_rate) : 0;
    video.Interlaced = codec.field_order == AV_FIELD_TT || codec.field_order == AV_FIELD_BB ||
                       codec.field_order == AV_FIELD_TB || codec.field_order == AV_FIELD_BT;
    video.Transfer =
        nameOf(av_color_transfer_name(codec.color_trc), codec.color_trc != AVCOL_TRC_UNSPECIFIED);
    video.Primaries = nameOf(av_color_primaries_name(codec.color_primaries),
                             codec.color_primaries != AVCOL_PRI_UNSPECIFIED);
    video.Matrix = nameOf(av_color_space_name(codec.color_space), codec.color_space != AVCOL_SPC_UNSPECIFIED);
    video.PeakNits = peakNits(stream);
    video.Rotation = rotationOf(stream);
    return video;
}

// ffmpeg's own choice among streams of one kind: the default track first, then the larger
// score; the first of equals.
template <typename Score> int bestStream(const AVFormatContext& context, AVMediaType type, Score score)
{
    int best = -1;
    double bestScore = -1;
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream& stream = *context.streams[i];
        if (stream.codecpar->codec_type != type || isPicture(stream))
            continue;
        const double candidate = score(*stream.codecpar) + (isDefault(stream) ? 5e8 : 0);
        if (candidate > bestScore) {
            best = static_cast<int>(i);
            bestScore = candidate;
        }
    }
    return best;
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
    // What the file says is for us; the error output belongs to whatever else the process runs.
    av_log_set_level(AV_LOG_QUIET);
    OpenMedia media;
    // A relative name as a file, never read as a protocol ("a:b.avi").
    const std::string url = path.front() == '/' ? path : "file:" + path;
    if (avformat_open_input(&media.context, url.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(media.context, nullptr) < 0)
        return facts;
    facts.Read = true;
    const AVFormatContext& context = *media.context;
    if (context.duration != AV_NOPTS_VALUE &&
        context.duration_estimation_method != AVFMT_DURATION_FROM_BITRATE)
        takeLonger(facts.DeclaredSeconds, double(context.duration) / AV_TIME_BASE);
    facts.CaptureMetadata = hasCaptureTags(context.metadata);
    const int video = bestStream(context, AVMEDIA_TYPE_VIDEO,
                                 [](const AVCodecParameters& codec) { return codec.width * codec.height; });
    const int audio = bestStream(context, AVMEDIA_TYPE_AUDIO,
                                 [](const AVCodecParameters& codec) { return codec.ch_layout.nb_channels; });
    if (video >= 0)
        facts.Video = videoFacts(*context.streams[video], video);
    if (audio >= 0)
        facts.Audio = AudioFacts{audio, context.streams[audio]->codecpar->ch_layout.nb_channels};
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream& stream = *context.streams[i];
        facts.CaptureMetadata = facts.CaptureMetadata || hasCaptureTags(stream.metadata);
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) {
            const AVCodecDescriptor* codec = avcodec_descriptor_get(stream.codecpar->codec_id);
            facts.Subtitles.push_back(
                {static_cast<int>(i), codec != nullptr && (codec->props & AV_CODEC_PROP_TEXT_SUB)});
        }
        // A header's frame count outlasts a file cut short, whose length is then only guessed.
        if (static_cast<int>(i) == video && stream.nb_frames > 0 && stream.avg_frame_rate.num > 0)
            takeLonger(facts.DeclaredSeconds, double(stream.nb_frames) / av_q2d(stream.avg_frame_rate));
    }
    return facts;
}
