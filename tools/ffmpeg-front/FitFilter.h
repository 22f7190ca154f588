#pragma once

#include <string>

// The video filter that shows a picture of any shape in its true proportions inside the frame
// `size` ("720x480") shown at `aspect` ("16:9"): scaled to fit, centred, the rest black. ffmpeg
// has already turned the picture upright by its rotation tag when the filter sees it. Empty when
// either value is not of that form.
// `scaleOptions` ("lanczos+accurate_rnd:out_color_matrix=bt709") pick the scaler and what it
// converts to; `pixelFormat`, when given, is the one the scaler makes, so that no other scaler
// converts the picture after it.
std::string FitFilter(const std::string& size, const std::string& aspect,
                      const std::string& scaleOptions = {}, const std::string& pixelFormat = {});
