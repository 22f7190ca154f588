#pragma once

#include "platform/MediaFacts.h"

#include <string>
#include <vector>

// The picture and rate a conversion asks for.
struct OutputShape {
    int Width = 0; // 0 when the line sets no size
    int Height = 0;
    double FramesPerSecond = 0; // 0 when the line sets no rate
};

// What the front asks of ffmpeg beyond the old line for a source that needs more than a plain
// scale and pad. A plain source (progressive SDR, at most two channels, no text subtitles, no
// capture metadata, colours that players read alike at both sizes, more than half the asked-for
// rate) needs nothing, and converts exactly as the line alone says.
struct SourceAdaptation {
    std::string FiltersBefore;        // video filters ahead of the fit, each ending in ","
    std::string ScaleFlags;           // the fit's scaler where it is not ffmpeg's default
    std::vector<std::string> Options; // output options: streams, colour tags, channels, metadata
    std::string MovFlags;             // more for the MP4 muxer ("+use_metadata_tags")
    bool KeepSourceRate = false;      // the source's rate is at most half the one asked for: kept
    int PictureSubtitlesLeftOut = 0;  // MP4 carries text subtitles only
};

// HDR (PQ or HLG) is tone-mapped to BT.709 and tagged so; an untagged source whose size makes
// players read its colours differently from the output's is tagged as what its pixels are;
// interlaced pictures are deinterlaced; more than two channels are mixed down to stereo; text
// subtitles are carried as mov_text; the time, place and camera of a capture are kept; a source
// at most half as fast as the asked-for rate keeps its own, scaled with a sharper filter.
SourceAdaptation AdaptationFor(const MediaFacts& source, const OutputShape& output);
