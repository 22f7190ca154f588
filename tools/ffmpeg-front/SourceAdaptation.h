#pragma once

#include "platform/MediaFacts.h"

#include <string>
#include <vector>

// What a conversion's line asks for, as far as the source changes what ffmpeg is told.
struct OutputShape {
    std::string Size;           // "720x480"; empty when the line sets no size
    std::string Aspect;         // "16:9"; empty when the line sets none
    double FramesPerSecond = 0; // the line's rate, taken as a peak; 0 when it sets none
    bool X264 = false;          // the video is coded with libx264
    bool Apple = false;         // the output is an MP4 for Apple devices and TVs (yuv420p)
    bool Soundless = false;     // the line leaves the sound out (the first of two passes)
    bool OwnFilters = false;    // the line brings its own video filter, which stays as it is
    bool OwnMaps = false;       // the line names its own streams
};

// What the front asks of ffmpeg for one source beyond the line.
struct SourceAdaptation {
    std::string VideoFilters;         // the whole -vf chain; empty for none
    std::vector<std::string> Options; // output options: streams, sound, colour tags, rate, keyframes
    // Reads the sound without coding it, for a line that leaves it out: ffmpeg sets the start of
    // a broadcast recording by the streams it reads, so both passes of a file must read the same.
    std::string SoundSink;
    bool DropRate = false;                       // the line's "-r" comes off: the filters set the rate
    std::vector<SubtitleFacts> SubtitlesLeftOut; // MP4 carries read text only
};

// The picture: the source's own video track, turned upright and deinterlaced, HDR (PQ, HLG)
// tone-mapped to BT.709, scaled with one sharp scaler into the frame in its true proportions and
// tagged with the colours its pixels have; at its own rate up to the line's, which is a peak (a
// faster source drops to an even share of its rate), with a keyframe at least every 10 s. The
// sound: every track, the default first and marked so, more than two channels mixed down to
// stereo. Text subtitles that ffmpeg reads are carried as mov_text with their languages. The
// file's tags (title, date, when and where it was taken) come along.
SourceAdaptation AdaptationFor(const MediaFacts& source, const OutputShape& output);
