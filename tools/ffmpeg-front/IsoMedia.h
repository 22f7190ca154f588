#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the top-level boxes of an ISO media file (MP4, QuickTime) tell without decoding it.
struct IsoMedia {
    bool Whole = false;            // the boxes tile the file exactly and the movie box is there
    std::optional<double> Seconds; // the movie's length from its header, when it gives one
};

// Reads the box headers of the file at `path`; a file that cannot be read is not whole.
IsoMedia ReadIsoMedia(const std::string& path);

// A box of an ISO media file: its type ("moov"), where it starts and its whole size.
struct IsoBox {
    std::string Type;
    std::uint64_t Start = 0;
    std::uint64_t Size = 0;
};

// The top-level boxes of the file at `path`, in order; empty when they do not tile it.
std::vector<IsoBox> TopLevelBoxes(const std::string& path);
