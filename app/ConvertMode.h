#pragma once

#include "app/CommandLineOptions.h"

// Converts the given paths with the saved settings, without a window and without a display:
// each pass is announced on standard output, messages go to standard error, and the settings
// are saved at the end (not for a dry run). Needs a running QCoreApplication; returns the exit
// status: 0 when every file converted, else 1.
int RunConvertMode(const CommandLineOptions& options, const QString& programFolder);
