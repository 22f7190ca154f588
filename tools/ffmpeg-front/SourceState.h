#pragma once

#include <string>
#include <sys/stat.h>

// What a source is while it is read: a recorder or a download that still writes it changes its
// size and its modification time.
struct SourceState {
    off_t Size = -1; // -1 when the file cannot be found
    timespec Modified = {};

    bool operator==(const SourceState& other) const
    {
        return Size == other.Size && Modified.tv_sec == other.Modified.tv_sec &&
               Modified.tv_nsec == other.Modified.tv_nsec;
    }
    bool operator!=(const SourceState& other) const { return !(*this == other); }
};

SourceState StateOf(const std::string& path);

// Keeps `state` in the file `keeper`, for a later process (the second of two passes).
void KeepState(const SourceState& state, const std::string& keeper);

// The state kept in `keeper`; none (Size -1) when it holds none.
SourceState KeptState(const std::string& keeper);
