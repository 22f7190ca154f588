#pragma once

#include "platform/MediaFacts.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// How the front serves one command line.
enum class FrontMode {
    Exec,      // a line without an output: becomes ffmpeg with the translated line
    Encode,    // a conversion, written beside the output first and renamed onto it when whole
    TwoPass,   // a pass of a two-pass conversion: an Encode with a pass log of its own
    Thumbnail, // one picture, written beside the output first and renamed over it
};

// The old-style command line Korumi writes, translated into what today's ffmpeg expects.
struct FrontPlan {
    FrontMode Mode = FrontMode::Exec;
    std::vector<std::string> Arguments; // ffmpeg's argument vector, program name first
    std::string Input;                  // the first input path as given
    std::string Output;                 // the output path as given; empty when the line names none
    std::size_t OutputAt = 0;           // the output's place in Arguments
    int Pass = 0;                       // TwoPass: the pass number
    std::size_t PassLogAt = 0;          // TwoPass: where the pass-log option goes
    std::size_t SeekAt = 0;             // Thumbnail: the place of the seek time in Arguments
    bool IsoMediaOutput = false;        // Encode, TwoPass: the output is an MP4 (QuickTime) file
    bool KeepsLength = false;           // Encode, TwoPass: the output should last as long as the
                                        // source; nothing on the line shortens it
    // Encode, TwoPass: what the front learnt of the source.
    std::optional<double> SourceSeconds;                            // the length of what is converted
    std::vector<SubtitleFacts> SubtitlesLeftOut;                    // subtitles the output cannot carry
    std::vector<std::pair<std::string, std::string>> QuickTimeKeys; // a camera's keys, kept
};

// The plan for the arguments the front was given (without its own name). An Encode or TwoPass
// plan asks of ffmpeg what `source`, the first input, needs beyond the line (see SourceAdaptation).
// A Thumbnail keeps the picture's proportions in its box, and is taken `pictureScale` times as
// large for a screen with that many pixels to a point.
FrontPlan PlanFor(const std::vector<std::string>& arguments, const MediaFacts& source = {},
                  int pictureScale = 1);

// The arguments of an Encode or TwoPass plan writing to `output`, a TwoPass plan with its pass
// log at `passLogPrefix`.
std::vector<std::string> EncodeArguments(const FrontPlan& plan, const std::string& output,
                                         const std::string& passLogPrefix = {});

// The arguments of a Thumbnail plan writing to `output`, seeking to `seek` (seconds, as text), from
// the video stream `video` of the input where it is known (not -1).
std::vector<std::string> ThumbnailAttempt(const FrontPlan& plan, const std::string& output,
                                          const std::string& seek, int video = -1);
