#include "tools/ffmpeg-front/SourceAdaptation.h"

#include "tools/ffmpeg-front/FitFilter.h"

#include <cmath>
#include <cstdio>

namespace
{

// Linear light 1 stands for this much light, a little below BT.2408's reference white of 203 cd/m²,
// where SDR white stands in PQ and HLG pictures: measured on test patterns mastered there, the
// output keeps the brightness and colour of the same pattern converted from SDR (mean luma within
// 8 %, saturation within 15 %), and lights up to 1000 cd/m² keep distinct steps.
constexpr double LinearWhiteNits = 160;
// What HLG is graded for, and what PQ sources that tell nothing of their peak are taken to reach.
constexpr double AssumedPeakNits = 1000;
// Players read pictures this tall or this wide as HD (BT.709), smaller ones as SD (BT.601).
constexpr int HdHeight = 720;
constexpr int HdWidth = 1280;
// One scaler for every picture, the sharpest of ffmpeg's that does not ring visibly.
constexpr const char* ScaleFlags = "lanczos+accurate_rnd";
// A source at most this much faster than the peak keeps its rate (29.97 under 30).
constexpr double RateTolerance = 1.001;
// A faster source drops to an even share of its rate (every second picture of 50 or 60), unless
// that share is this far under the peak (17.5 of 35): then it takes the peak.
constexpr double LowestShareOfPeak = 2.0 / 3;
// TVs and players seek to keyframes: one at least this often, and x264's own limit where that
// comes sooner.
constexpr double KeyframeSeconds = 10;
constexpr int X264KeyframeLimit = 250;

struct Frame {
    int width = 0;
    int height = 0;
};

Frame frameOf(const std::string& size)
{
    Frame frame;
    std::sscanf(size.c_str(), "%dx%d", &frame.width, &frame.height);
    return frame;
}

bool isHd(int width, int height)
{
    return height >= HdHeight || width >= HdWidth;
}

bool isHdr(const VideoFacts& video)
{
    return video.Transfer == "smpte2084" || video.Transfer == "arib-std-b67";
}

std::string stream(int index)
{
    return "0:" + std::to_string(index);
}

// Linear light with SDR white at 1, highlights above it compressed (mobius keeps the tones below
// reference white as SDR shows them), then BT.709. A source tagged with its transfer alone is
// taken to have BT.2020's primaries and matrix, as every HDR format has.
std::string toneMap(const VideoFacts& video)
{
    const bool hlg = video.Transfer == "arib-std-b67";
    const double peak = (!hlg && video.PeakNits > 0 ? video.PeakNits : AssumedPeakNits) / LinearWhiteNits;
    const std::string assumed = std::string(video.Primaries.empty() ? ":pin=2020" : "") +
                                (video.Matrix.empty() ? ":min=2020_ncl" : "");
    char filters[320];
    std::snprintf(
        filters, sizeof filters,
        "zscale=t=linear:npl=%.0f:p=709%s,format=gbrpf32le,tonemap=mobius:param=0.4:desat=0:peak=%.3f,"
        "zscale=t=709:m=709:r=tv:p=709,format=yuv420p",
        LinearWhiteNits, assumed.c_str(), peak);
    return filters;
}

void addColourTags(std::vector<std::string>& options, const char* primaries, const char* transfer,
                   const char* matrix)
{
    options.insert(options.end(),
                   {"-color_primaries", primaries, "-color_trc", transfer, "-colorspace", matrix});
}

void append(std::string& chain, const std::string& filter)
{
    if (!filter.empty())
        chain += (chain.empty() ? "" : ",") + filter;
}

// The rate the output takes for a source at `video`'s rate under the peak `peak`, as ffmpeg's
// rational; `rate` gets it as a number.
std::string outputRate(const VideoFacts& video, double peak, double& rate)
{
    rate = video.FramesPerSecond;
    if (rate <= peak * RateTolerance)
        return video.Rate;
    const int share = static_cast<int>(std::ceil(rate / (peak * RateTolerance)));
    int numerator = 0;
    int denominator = 1;
    if (rate / share >= LowestShareOfPeak * peak &&
        std::sscanf(video.Rate.c_str(), "%d/%d", &numerator, &denominator) == 2) {
        rate /= share;
        return std::to_string(numerator) + '/' + std::to_string(denominator * share);
    }
    rate = peak;
    char text[32];
    std::snprintf(text, sizeof text, "%g", peak);
    return text;
}

// Colours: HDR is tone-mapped and tagged BT.709. RGB pixels take the matrix players read the
// output's size with, and are tagged so. Untagged YUV pixels whose size players read differently
// from the output's are tagged with what they are.
void adaptColours(const VideoFacts& video, Frame output, SourceAdaptation& adaptation,
                  std::string& scaleOptions)
{
    const bool hdOutput = isHd(output.width, output.height);
    if (isHdr(video)) {
        addColourTags(adaptation.Options, "bt709", "bt709", "bt709");
    } else if (video.Rgb) {
        if (hdOutput) {
            scaleOptions = ":out_color_matrix=bt709";
            addColourTags(adaptation.Options, "bt709", "bt709", "bt709");
        } else {
            addColourTags(adaptation.Options, "smpte170m", "smpte170m", "smpte170m");
        }
    } else if (video.Matrix.empty() && output.height > 0 && isHd(video.Width, video.Height) != hdOutput) {
        if (isHd(video.Width, video.Height))
            addColourTags(adaptation.Options, "bt709", "bt709", "bt709");
        else
            addColourTags(adaptation.Options, "smpte170m", "smpte170m", "smpte170m");
    }
}

void adaptPicture(const VideoFacts& video, const OutputShape& output, SourceAdaptation& adaptation)
{
    std::string chain;
    if (video.TimestampLag > 0) {
        char earlier[48];
        std::snprintf(earlier, sizeof earlier, "setpts=PTS-%.6f/TB", video.TimestampLag);
        append(chain, earlier);
    }
    if (video.Interlaced)
        append(chain, "bwdif=mode=send_frame:parity=auto:deint=interlaced");
    if (isHdr(video))
        append(chain, toneMap(video));
    double rate = video.FramesPerSecond;
    const bool rated = output.FramesPerSecond > 0 && !output.OwnFilters;
    if (rated && video.Sparse) {
        // Every picture at its own time: a steady rate would repeat each one many times over.
        adaptation.Options.insert(adaptation.Options.end(), {"-fps_mode", "vfr"});
        adaptation.DropRate = true;
    } else if (rated && rate > 0) {
        // The fps filter ends the picture with the sound, where ffmpeg's "-r" adds pictures.
        append(chain, "fps=" + outputRate(video, output.FramesPerSecond, rate));
        adaptation.DropRate = true;
    }
    std::string scaleOptions;
    adaptColours(video, frameOf(output.Size), adaptation, scaleOptions);
    append(chain,
           FitFilter(output.Size, output.Aspect, ScaleFlags + scaleOptions, output.Apple ? "yuv420p" : ""));
    if (!output.OwnFilters)
        adaptation.VideoFilters = chain;
    const int keyframes = static_cast<int>(KeyframeSeconds * rate);
    if (output.X264 && keyframes > 0 && keyframes < X264KeyframeLimit)
        adaptation.Options.insert(adaptation.Options.end(), {"-g", std::to_string(keyframes)});
}

// Every sound track, the source's default first and marked so; more than two channels (and a
// broadcast's switch to 5.1 part-way) mixed down to stereo, mono kept.
void adaptSound(const MediaFacts& source, const OutputShape& output, SourceAdaptation& adaptation)
{
    std::vector<std::string>& options = adaptation.Options;
    for (std::size_t i = 0; i < source.Audio.size(); ++i) {
        const AudioFacts& track = source.Audio[i];
        const std::string index = std::to_string(i);
        if (!output.OwnMaps)
            options.insert(options.end(), {"-map", stream(track.Index)});
        if (track.Channels >= 2)
            options.insert(options.end(), {"-ac:a:" + index, "2"});
        if (source.Audio.size() > 1)
            options.insert(options.end(), {"-disposition:a:" + index, i == 0 ? "default" : "0"});
        if (output.Soundless && !output.OwnMaps)
            adaptation.SoundSink += (i == 0 ? "[" : ";[") + stream(track.Index) + "]anullsink";
    }
}

void carrySubtitles(const MediaFacts& source, const OutputShape& output, SourceAdaptation& adaptation)
{
    bool carried = false;
    for (const SubtitleFacts& subtitle : source.Subtitles) {
        if (subtitle.Kind != SubtitleKind::Text) {
            adaptation.SubtitlesLeftOut.push_back(subtitle);
        } else if (!output.OwnMaps) {
            adaptation.Options.insert(adaptation.Options.end(), {"-map", stream(subtitle.Index)});
            carried = true;
        }
    }
    if (carried)
        adaptation.Options.insert(adaptation.Options.end(), {"-c:s", "mov_text"});
}

} // namespace

SourceAdaptation AdaptationFor(const MediaFacts& source, const OutputShape& output)
{
    SourceAdaptation adaptation;
    if (!source.Video) {
        // What ffmpeg reads that its probe could not: the line's own rate and size.
        if (!output.OwnFilters)
            adaptation.VideoFilters =
                FitFilter(output.Size, output.Aspect, ScaleFlags, output.Apple ? "yuv420p" : "");
        return adaptation;
    }
    if (!output.OwnMaps)
        adaptation.Options.insert(adaptation.Options.end(), {"-map", stream(source.Video->Index)});
    // The title, the date and when it was taken: ffmpeg copies the first two by itself, but
    // the moment of a capture only when asked.
    adaptation.Options.insert(adaptation.Options.end(), {"-map_metadata", "0"});
    adaptPicture(*source.Video, output, adaptation);
    adaptSound(source, output, adaptation);
    carrySubtitles(source, output, adaptation);
    return adaptation;
}
