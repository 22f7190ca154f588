#include "tools/ffmpeg-front/SourceAdaptation.h"

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
// A source at most this share of the asked-for rate keeps its own: every one of its pictures
// would be repeated.
constexpr double SlowShare = 0.5;

bool isHd(int width, int height)
{
    return height >= HdHeight || width >= HdWidth;
}

bool isHdr(const VideoFacts& video)
{
    return video.Transfer == "smpte2084" || video.Transfer == "arib-std-b67";
}

// Linear light with SDR white at 1, highlights above it compressed (mobius keeps the tones below
// reference white as SDR shows them), then BT.709.
std::string toneMap(const VideoFacts& video)
{
    const bool hlg = video.Transfer == "arib-std-b67";
    const double peak = (!hlg && video.PeakNits > 0 ? video.PeakNits : AssumedPeakNits) / LinearWhiteNits;
    char filters[256];
    std::snprintf(
        filters, sizeof filters,
        "zscale=t=linear:npl=%.0f:p=709,format=gbrpf32le,tonemap=mobius:param=0.4:desat=0:peak=%.3f,"
        "zscale=t=709:m=709:r=tv:p=709,format=yuv420p,",
        LinearWhiteNits, peak);
    return filters;
}

void addColourTags(std::vector<std::string>& options, const char* primaries, const char* transfer,
                   const char* matrix)
{
    options.insert(options.end(),
                   {"-color_primaries", primaries, "-color_trc", transfer, "-colorspace", matrix});
}

void adaptPicture(const VideoFacts& video, const OutputShape& output, SourceAdaptation& adaptation)
{
    if (video.Interlaced)
        adaptation.FiltersBefore += "bwdif=mode=send_frame:parity=auto:deint=interlaced,";
    if (isHdr(video)) {
        adaptation.FiltersBefore += toneMap(video);
        addColourTags(adaptation.Options, "bt709", "bt709", "bt709");
    } else if (video.Matrix.empty() && output.Height > 0 &&
               isHd(video.Width, video.Height) != isHd(output.Width, output.Height)) {
        // Untagged, the output would be read by its own size: say what its pixels are.
        if (isHd(video.Width, video.Height))
            addColourTags(adaptation.Options, "bt709", "bt709", "bt709");
        else
            addColourTags(adaptation.Options, "smpte170m", "smpte170m", "smpte170m");
    }
    if (video.FramesPerSecond > 0 && video.FramesPerSecond <= SlowShare * output.FramesPerSecond) {
        // x264 would code the repeats far better than the pictures themselves, a swing of 20 dB
        // from one to the next: a slow source keeps its rate, as a peak rate does elsewhere.
        adaptation.KeepSourceRate = true;
        adaptation.ScaleFlags = "lanczos+accurate_rnd";
    }
}

// Text subtitles as mov_text with their languages. Once any stream is named, ffmpeg takes no
// other by itself: the picture and the sound it would have taken are named too.
void carrySubtitles(const MediaFacts& source, SourceAdaptation& adaptation)
{
    std::vector<std::string> maps;
    for (const SubtitleFacts& subtitle : source.Subtitles) {
        if (subtitle.Text)
            maps.insert(maps.end(), {"-map", "0:" + std::to_string(subtitle.Index)});
        else
            ++adaptation.PictureSubtitlesLeftOut;
    }
    if (maps.empty())
        return;
    std::vector<std::string>& options = adaptation.Options;
    if (source.Video)
        options.insert(options.end(), {"-map", "0:" + std::to_string(source.Video->Index)});
    if (source.Audio)
        options.insert(options.end(), {"-map", "0:" + std::to_string(source.Audio->Index)});
    options.insert(options.end(), maps.begin(), maps.end());
    options.insert(options.end(), {"-c:s", "mov_text"});
}

} // namespace

SourceAdaptation AdaptationFor(const MediaFacts& source, const OutputShape& output)
{
    SourceAdaptation adaptation;
    if (source.Video)
        adaptPicture(*source.Video, output, adaptation);
    if (source.Audio && source.Audio->Channels > 2)
        adaptation.Options.insert(adaptation.Options.end(), {"-ac", "2"});
    carrySubtitles(source, adaptation);
    if (source.CaptureMetadata) {
        adaptation.Options.insert(adaptation.Options.end(), {"-map_metadata", "0"});
        adaptation.MovFlags = "+use_metadata_tags";
    }
    return adaptation;
}
