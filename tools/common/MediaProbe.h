#pragma once

#include <optional>
#include <string>

// The length of a media file in seconds, as ffprobe reports it; nothing when ffprobe is missing
// or cannot tell.
std::optional<double> ProbeDuration(const std::string& path);

// Whether a media file holds a video stream, as ffprobe reports it; nothing when ffprobe is
// missing or cannot tell.
std::optional<bool> ProbeHasVideo(const std::string& path);
