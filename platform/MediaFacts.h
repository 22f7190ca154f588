#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// What a media file tells of itself, read in this process with libavformat: no program is run.
// Opening a file decodes the few frames its headers leave open (a stream's rate, a TS's layout);
// nothing else is decoded. Only regular files are read, so that a pipe or a device is never
// consumed or waited on. Plain C++ without Qt: Korumi and its encoder front learn a source alike.

// The picture: the video stream a conversion takes. A still picture (cover art, whether flagged
// as such or stored as an ordinary track of one frame) is none; of the moving ones, the file's
// default track, else the largest.
struct VideoFacts {
    int Index = -1;
    int Width = 0;
    int Height = 0;
    // The rate its pictures come at: the one its timestamps are set in, or its average where
    // that is clearly lower (interlaced video whose timestamps count fields); 0 when unknown.
    double FramesPerSecond = 0;
    std::string Rate; // the same as ffmpeg writes it ("30000/1001")
    // Its pictures come far less often than its timestamps allow, at irregular times (a screen
    // recording, a camera that sends a picture only when something moves).
    bool Sparse = false;
    // How late ffmpeg times its pictures, in seconds: an AVI keeps no presentation times, and
    // ffmpeg times each picture by the packet that completes it, which comes later where B-frames
    // are packed ahead (DivX, Xvid).
    double TimestampLag = 0;
    bool Interlaced = false; // its fields are flagged as taken one after the other
    bool Rgb = false;        // its pixels are RGB, without a YUV matrix of their own
    // Its colour as ffmpeg names it ("bt709", "smpte2084", "bt2020nc"); empty where untagged.
    std::string Transfer;
    std::string Primaries;
    std::string Matrix;
    double PeakNits = 0; // the brightest light the file says it holds; 0 when it does not say
};

struct AudioFacts {
    int Index = -1;
    int Channels = 0;
    bool Default = false;
};

// What becomes of a subtitle track in an MP4 file, which holds text subtitles only.
enum class SubtitleKind {
    Text,       // read as text and carried as mov_text
    Picture,    // pictures of text (PGS, VobSub, DVB): no place for them
    Teletext,   // DVB teletext pages: no place for them
    Unreadable, // text in a form this ffmpeg cannot read (ARIB captions, TTML, Blu-ray text)
};

struct SubtitleFacts {
    int Index = -1;
    SubtitleKind Kind = SubtitleKind::Picture;
    std::string Codec; // ffmpeg's name for it ("arib_caption")
};

struct MediaFacts {
    bool Read = false; // the file could be opened as media
    // How long the streams a conversion takes (the picture and the sound) last, from the file's
    // start, as the file declares them: by their own lengths, the container's where those are
    // not given, or the video's frame count over its rate where that is longer (a file cut
    // short keeps its header). Other streams (a subtitle with a late or open-ended last cue)
    // do not count. A length guessed from the file's size is none.
    std::optional<double> DeclaredSeconds;
    std::optional<VideoFacts> Video;
    std::vector<AudioFacts> Audio; // every sound track, the default first
    std::vector<SubtitleFacts> Subtitles;
    // A camera's QuickTime keys ("com.apple.quicktime.make", "...location.ISO6709") and their
    // values, in the file's order.
    std::vector<std::pair<std::string, std::string>> QuickTimeKeys;

    bool HasVideo() const { return Video.has_value(); }
};

MediaFacts ProbeMedia(const std::string& path);
