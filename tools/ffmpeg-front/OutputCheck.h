#pragma once

#include "tools/ffmpeg-front/FrontPlan.h"

#include <optional>
#include <string>

// Why the file ffmpeg wrote for `plan`, which it reported finished, is not the whole output:
// an MP4 whose boxes do not make a whole file, or one clearly shorter than its source of
// `sourceSeconds` (a source cut off while it was read). Empty when nothing is wrong.
std::string OutputShortcoming(const FrontPlan& plan, const std::string& file,
                              std::optional<double> sourceSeconds);
