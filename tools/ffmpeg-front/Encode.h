#pragma once

#include "tools/common/ChildProcess.h"
#include "tools/ffmpeg-front/FrontPlan.h"
#include "tools/ffmpeg-front/SourceState.h"

#include <string>

// Carries out an Encode or TwoPass plan. ffmpeg writes to a temporary file beside the output,
// which is renamed onto the output only when it is whole: ffmpeg succeeded, wrote without an
// error, the file checks out and the source stayed as it was at `sourceAtStart` (a source still
// being written converts only to what was there). Otherwise, and when the front is stopped, the
// temporary file goes and the output stays as it was. The first of two passes keeps no output at
// all. Returns how the front should end; a failure ffmpeg did not report has its reason on the
// error output.
ChildProcess::Outcome Encode(const FrontPlan& plan, const SourceState& sourceAtStart,
                             const std::string& passLogPrefix = {});
