#include "platform/MediaFacts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mastering_display_metadata.h>
#include <libavutil/pixdesc.h>
}

namespace
{

constexpr const char QuickTimeKeyPrefix[] = "com.apple.quicktime.";
// An average rate this far under the rate the timestamps are set in is irregular, not merely
// interlaced (whose timestamps may count fields, at twice its rate); this close to it, regular.
constexpr double SparseShare = 0.45;
constexpr double RegularShare = 0.9;
// How much of a video's start is read to see how often its pictures really come: enough
// pictures or seconds to tell, never much of a file.
constexpr int SampledPictures = 48;
constexpr double SampledSeconds = 8;
constexpr int64_t SampledBytes = 16 << 20;
// A video track this short in a file that lasts this much longer is a still picture.
constexpr double StillSeconds = 0.5;

bool isRegularFile(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDefault(const AVStream& stream)
{
    return (stream.disposition & AV_DISPOSITION_DEFAULT) != 0;
}

double rateOf(AVRational rate)
{
    return rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0;
}

// A stream's own length in seconds, from its header or, in Matroska, its DURATION tag
// ("01:02:03.040000000"); nothing when it tells none.
std::optional<double> ownLength(const AVStream& stream)
{
    if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0)
        return stream.duration * av_q2d(stream.time_base);
    const AVDictionaryEntry* tag = av_dict_get(stream.metadata, "DURATION", nullptr, 0);
    int hours = 0;
    int minutes = 0;
    double seconds = 0;
    if (tag != nullptr && std::sscanf(tag->value, "%d:%d:%lf", &hours, &minutes, &seconds) == 3)
        return hours * 3600.0 + minutes * 60.0 + seconds;
    return std::nullopt;
}

// Where the stream ends, in seconds from the file's start.
std::optional<double> endOf(const AVFormatContext& context, const AVStream& stream)
{
    const std::optional<double> length = ownLength(stream);
    if (!length)
        return std::nullopt;
    double start = 0;
    if (stream.start_time != AV_NOPTS_VALUE && context.start_time != AV_NOPTS_VALUE)
        start = std::max(0.0, stream.start_time * av_q2d(stream.time_base) -
                                  double(context.start_time) / AV_TIME_BASE);
    return start + *length;
}

// The longer of `seconds` and `candidate`, when the candidate is a length.
void takeLonger(std::optional<double>& seconds, std::optional<double> candidate)
{
    if (candidate && *candidate > 0 && std::isfinite(*candidate))
        seconds = std::max(seconds.value_or(0), *candidate);
}

// ffmpeg's name of a colour property; empty when the file leaves it open.
std::string nameOf(const char* name, bool specified)
{
    return specified && name != nullptr ? name : "";
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

// The rate pictures come at, and whether they come far less often than the timestamps allow.
void takeRate(const AVStream& stream, VideoFacts& video)
{
    const double average = rateOf(stream.avg_frame_rate);
    const double declared = rateOf(stream.r_frame_rate);
    video.Sparse = average > 0 && declared > 0 && average < SparseShare * declared;
    if (video.Sparse) {
        video.FramesPerSecond = average;
        return;
    }
    // A phone's pictures come a little unevenly at the rate it declares.
    const AVRational rate = average == 0 || (declared > 0 && average >= RegularShare * declared)
                                ? stream.r_frame_rate
                                : stream.avg_frame_rate;
    video.FramesPerSecond = rateOf(rate);
    if (video.FramesPerSecond > 0)
        video.Rate = std::to_string(rate.num) + '/' + std::to_string(rate.den);
}

// How often the pictures of stream `video` really come, from the timestamps of its first packets;
// 0 when too few tell. A Matroska header gives only the rate a file was made at.
double sampledRate(AVFormatContext& context, int video)
{
    AVPacket* packet = av_packet_alloc();
    const int64_t start = avio_tell(context.pb);
    int64_t first = INT64_MAX;
    int64_t last = INT64_MIN;
    int count = 0;
    const AVRational timeBase = context.streams[video]->time_base;
    while (packet != nullptr && count < SampledPictures && avio_tell(context.pb) - start < SampledBytes &&
           (count < 2 || (last - first) * av_q2d(timeBase) < SampledSeconds) &&
           av_read_frame(&context, packet) >= 0) {
        if (packet->stream_index == video && packet->pts != AV_NOPTS_VALUE) {
            first = std::min(first, packet->pts);
            last = std::max(last, packet->pts);
            ++count;
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    return count > 2 && last > first ? (count - 1) / ((last - first) * av_q2d(timeBase)) : 0;
}

VideoFacts videoFacts(const AVStream& stream, int index)
{
    const AVCodecParameters& codec = *stream.codecpar;
    VideoFacts video;
    video.Index = index;
    video.Width = codec.width;
    video.Height = codec.height;
    takeRate(stream, video);
    video.Interlaced = codec.field_order == AV_FIELD_TT || codec.field_order == AV_FIELD_BB ||
                       codec.field_order == AV_FIELD_TB || codec.field_order == AV_FIELD_BT;
    const AVPixFmtDescriptor* pixels = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(codec.format));
    video.Rgb = pixels != nullptr && (pixels->flags & AV_PIX_FMT_FLAG_RGB);
    video.Transfer =
        nameOf(av_color_transfer_name(codec.color_trc), codec.color_trc != AVCOL_TRC_UNSPECIFIED);
    video.Primaries = nameOf(av_color_primaries_name(codec.color_primaries),
                             codec.color_primaries != AVCOL_PRI_UNSPECIFIED);
    video.Matrix = nameOf(av_color_space_name(codec.color_space), codec.color_space != AVCOL_SPC_UNSPECIFIED);
    video.PeakNits = peakNits(stream);
    return video;
}

// Cover art: flagged as such, a track of one picture or of a moment in a longer file, or
// pictures of a still-image codec that come at no rate at all (what remuxing a cover into
// Matroska gives).
bool isStill(const AVFormatContext& context, const AVStream& stream)
{
    if ((stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0 || stream.nb_frames == 1)
        return true;
    const std::optional<double> length = ownLength(stream);
    if (length && *length < StillSeconds && context.duration != AV_NOPTS_VALUE &&
        double(context.duration) / AV_TIME_BASE > *length + StillSeconds)
        return true;
    const AVCodecDescriptor* codec = avcodec_descriptor_get(stream.codecpar->codec_id);
    return rateOf(stream.avg_frame_rate) == 0 && codec != nullptr &&
           (codec->props & AV_CODEC_PROP_INTRA_ONLY);
}

// The moving picture a conversion takes: the default track first, then the largest; the first
// of equals.
int chosenVideo(const AVFormatContext& context)
{
    int best = -1;
    double bestScore = -1;
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream& stream = *context.streams[i];
        if (stream.codecpar->codec_type != AVMEDIA_TYPE_VIDEO || isStill(context, stream))
            continue;
        const double score =
            double(stream.codecpar->width) * stream.codecpar->height + (isDefault(stream) ? 1e12 : 0);
        if (score > bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best;
}

// Whether stream `index` belongs with the picture `video`: in a file of several programs (a TS
// of several services), a stream of the video's program; in any other file, every stream.
bool withVideo(const AVFormatContext& context, int video, unsigned index)
{
    for (unsigned p = 0; video >= 0 && p < context.nb_programs; ++p) {
        const AVProgram& program = *context.programs[p];
        const unsigned* begin = program.stream_index;
        const unsigned* end = begin + program.nb_stream_indexes;
        if (std::find(begin, end, unsigned(video)) != end)
            return std::find(begin, end, index) != end;
    }
    return true;
}

// Every sound track that goes with the picture `video`, the default one first, the others in
// the file's order.
std::vector<AudioFacts> audioTracks(const AVFormatContext& context, int video)
{
    std::vector<AudioFacts> tracks;
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream& stream = *context.streams[i];
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_AUDIO && withVideo(context, video, i))
            tracks.push_back(
                {static_cast<int>(i), stream.codecpar->ch_layout.nb_channels, isDefault(stream)});
    }
    const auto firstDefault =
        std::find_if(tracks.begin(), tracks.end(), [](const AudioFacts& track) { return track.Default; });
    if (firstDefault != tracks.end())
        std::rotate(tracks.begin(), firstDefault, firstDefault + 1);
    return tracks;
}

SubtitleKind subtitleKind(AVCodecID id)
{
    const AVCodecDescriptor* codec = avcodec_descriptor_get(id);
    if (id == AV_CODEC_ID_DVB_TELETEXT)
        return SubtitleKind::Teletext;
    if (codec == nullptr || !(codec->props & AV_CODEC_PROP_TEXT_SUB))
        return SubtitleKind::Picture;
    return avcodec_find_decoder(id) != nullptr ? SubtitleKind::Text : SubtitleKind::Unreadable;
}

std::vector<std::pair<std::string, std::string>> quickTimeKeys(const AVDictionary* tags)
{
    std::vector<std::pair<std::string, std::string>> keys;
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(tags, QuickTimeKeyPrefix, entry, AV_DICT_IGNORE_SUFFIX)) != nullptr)
        keys.emplace_back(entry->key, entry->value);
    return keys;
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
    facts.QuickTimeKeys = quickTimeKeys(context.metadata);
    const int video = chosenVideo(context);
    if (video >= 0) {
        facts.Video = videoFacts(*context.streams[video], video);
        const int delay = context.streams[video]->codecpar->video_delay;
        if (std::strcmp(context.iformat->name, "avi") == 0 && delay > 0 && facts.Video->FramesPerSecond > 0)
            facts.Video->TimestampLag = delay / facts.Video->FramesPerSecond;
        // Without a frame count in the header, the average rate may be only the declared one.
        if (!facts.Video->Sparse && context.streams[video]->nb_frames == 0) {
            const double sampled = sampledRate(*media.context, video);
            facts.Video->Sparse = sampled > 0 && sampled < SparseShare * facts.Video->FramesPerSecond;
            if (facts.Video->Sparse)
                facts.Video->FramesPerSecond = sampled;
        }
    }
    facts.Audio = audioTracks(context, video);
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVCodecParameters& codec = *context.streams[i]->codecpar;
        if (codec.codec_type == AVMEDIA_TYPE_SUBTITLE && withVideo(context, video, i))
            facts.Subtitles.push_back(
                {static_cast<int>(i), subtitleKind(codec.codec_id), avcodec_get_name(codec.codec_id)});
    }
    // Lengths guessed from the file's size are no lengths.
    if (context.duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
        return facts;
    std::vector<int> converted;
    if (facts.Video)
        converted.push_back(facts.Video->Index);
    for (const AudioFacts& track : facts.Audio)
        converted.push_back(track.Index);
    for (const int index : converted)
        takeLonger(facts.DeclaredSeconds, endOf(context, *context.streams[index]));
    if (!facts.DeclaredSeconds && context.duration != AV_NOPTS_VALUE)
        takeLonger(facts.DeclaredSeconds, double(context.duration) / AV_TIME_BASE);
    // A header's frame count outlasts a file cut short, whose length is then only guessed.
    if (facts.Video) {
        const AVStream& video = *context.streams[facts.Video->Index];
        if (video.nb_frames > 0 && video.avg_frame_rate.num > 0)
            takeLonger(facts.DeclaredSeconds, double(video.nb_frames) / av_q2d(video.avg_frame_rate));
    }
    return facts;
}
