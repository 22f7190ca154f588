#pragma once

#include "tools/common/ChildProcess.h"
#include "tools/ffmpeg-front/FrontPlan.h"

#include <string>
#include <sys/types.h>

// The file a thumbnail is written to before it is renamed over `output`: hidden, beside it (the
// same file system, so the rename is atomic), with the output's extension so ffmpeg picks the
// same picture format.
std::string ThumbnailTempPath(const std::string& output, pid_t grabber);

// Removes temporary thumbnails beside `output` whose grabs were killed before they could.
void RemoveOrphanTemps(const std::string& output);

// Carries out a Thumbnail plan: a reader of the output sees the whole picture or none. A source
// shorter than the seek time gives its middle frame instead.
ChildProcess::Outcome GrabThumbnail(const FrontPlan& plan);
