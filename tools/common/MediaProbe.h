#pragma once

#include <optional>
#include <string>

// What a media file tells of itself, read in this process with libavformat: no program is run,
// and nothing is decoded. Only regular files are read, so that a pipe or a device is never
// consumed or waited on.
struct MediaFacts {
    bool Read = false;     // the file could be opened as media
    bool HasVideo = false; // it holds a video stream (a cover picture is none)
    // Its length in seconds as its container and its video's frame count and rate declare it,
    // the longest of them; a length guessed from the file's size is none.
    std::optional<double> DeclaredSeconds;
};

MediaFacts ProbeMedia(const std::string& path);

// The length of a media file in seconds; nothing when it cannot tell.
std::optional<double> ProbeDuration(const std::string& path);
