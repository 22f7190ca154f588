#pragma once

#include <string>

// The video filter that shows a picture of any shape in its true proportions inside the frame
// `size` ("720x480") shown at `aspect` ("16:9"): scaled to fit, centred, the rest black. ffmpeg
// has already turned the picture upright by its rotation tag when the filter sees it. Empty when
// either value is not of that form.
// `scaleFlags` picks the scaler where ffmpeg's default will not do.
std::string FitFilter(const std::string& size, const std::string& aspect, const std::string& scaleFlags = {});
