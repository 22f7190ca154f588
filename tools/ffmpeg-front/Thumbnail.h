#pragma once

#include "tools/common/ChildProcess.h"
#include "tools/ffmpeg-front/FrontPlan.h"

// Carries out a Thumbnail plan: the picture is written to a temporary file and renamed over the
// output, so a reader of the output sees the whole picture or none. A source shorter than the
// seek time gives its middle frame instead.
ChildProcess::Outcome GrabThumbnail(const FrontPlan& plan);
