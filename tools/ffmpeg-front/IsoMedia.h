#pragma once

#include <optional>
#include <string>

// What the top-level boxes of an ISO media file (MP4, QuickTime) tell without decoding it.
struct IsoMedia {
    bool Whole = false;            // the boxes tile the file exactly and the movie box is there
    std::optional<double> Seconds; // the movie's length from its header, when it gives one
};

// Reads the box headers of the file at `path`; a file that cannot be read is not whole.
IsoMedia ReadIsoMedia(const std::string& path);
