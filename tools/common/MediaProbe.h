#pragma once

#include <optional>
#include <string>

// The length of a media file in seconds, as ffprobe reports it; nothing when ffprobe is missing
// or cannot tell.
std::optional<double> ProbeDuration(const std::string& path);
