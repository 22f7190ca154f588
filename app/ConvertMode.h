#pragma once

#include "app/CommandLineOptions.h"
#include "settings/ProgramFiles.h"

class StopSignals;

// Converts the given paths, and those of the lists the options name, with the saved settings,
// without a window and without a display: each pass is announced on standard output, messages
// go to standard error, and the settings are saved at the end (not for a dry run). No thumbnails
// are grabbed. The first of `stopSignals` stops the whole run, even while a list is still being
// read. Needs a QCoreApplication; returns the exit status: 0 when every file converted,
// 128 + the signal's number when a signal stopped the run, else 1.
int RunConvertMode(const CommandLineOptions& options, const ProgramFiles& files, StopSignals& stopSignals);
