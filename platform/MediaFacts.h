#pragma once

#include <optional>
#include <string>
#include <vector>

// What a media file tells of itself, read in this process with libavformat: no program is run,
// and nothing is decoded beyond what the file's headers leave open. Only regular files are read,
// so that a pipe or a device is never consumed or waited on. Plain C++ without Qt: Korumi and its
// encoder front learn a source alike.

// The picture: the video stream ffmpeg picks, the largest that is no cover picture.
struct VideoFacts {
    int Index = -1;
    int Width = 0;
    int Height = 0;
    double FramesPerSecond = 0; // its average rate; 0 when unknown
    bool Interlaced = false;    // its fields are flagged as taken one after the other
    // Its colour as ffmpeg names it ("bt709", "smpte2084", "bt2020nc"); empty where untagged.
    std::string Transfer;
    std::string Primaries;
    std::string Matrix;
    double PeakNits = 0; // the brightest light the file says it holds; 0 when it does not say
    int Rotation = 0;    // degrees clockwise that a player turns it by
};

// The sound: the audio stream ffmpeg picks, the file's default track, else the one with the most
// channels.
struct AudioFacts {
    int Index = -1;
    int Channels = 0;
};

struct SubtitleFacts {
    int Index = -1;
    bool Text = false; // text (SRT, ASS, mov_text), not pictures (PGS, VobSub, DVB)
};

struct MediaFacts {
    bool Read = false; // the file could be opened as media
    // Its length in seconds as its container and its video's frame count and rate declare it,
    // the longest of them; a length guessed from the file's size is none.
    std::optional<double> DeclaredSeconds;
    std::optional<VideoFacts> Video;
    std::optional<AudioFacts> Audio;
    std::vector<SubtitleFacts> Subtitles;
    bool CaptureMetadata = false; // when and where it was taken, by which camera

    bool HasVideo() const { return Video.has_value(); }
};

MediaFacts ProbeMedia(const std::string& path);
