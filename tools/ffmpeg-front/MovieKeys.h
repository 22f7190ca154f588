#pragma once

#include <string>
#include <utility>
#include <vector>

using MovieKey = std::pair<std::string, std::string>; // "com.apple.quicktime.make", "Apple"

// Copies the MP4 file `from` to the file open for writing at `to`, with `keys` added to its movie
// box as QuickTime keys (a "meta" box of handler "mdta", as cameras write them), beside the
// iTunes tags ffmpeg wrote (which a file holds in one form only when ffmpeg writes it). The media
// data keeps its place relative to the movie box's end, and every chunk offset behind the movie
// box moves by what it grew. Returns why it cannot; the copy is then not to be used.
std::string CopyWithMovieKeys(const std::string& from, int to, const std::vector<MovieKey>& keys);
