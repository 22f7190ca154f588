#pragma once

#include "tools/common/ChildProcess.h"

#include <string>

// Tells why the front does not accept what ffmpeg made of `path`: one line on the standard error,
// the last one it writes, which Korumi shows as the reason the file failed. Returns `ended` when
// that is a failure already, else the exit status 1.
ChildProcess::Outcome FrontFailure(const std::string& path, const std::string& why,
                                   const ChildProcess::Outcome& ended = {});
