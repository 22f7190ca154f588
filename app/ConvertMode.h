#pragma once

#include "app/CommandLineOptions.h"

class TMainForm1;

// Converts the given paths with the window's saved settings, without anybody at the window:
// messages go to standard error and each pass is announced on standard output. Runs the event
// loop until the run has ended and the window has closed; returns the exit status.
int RunConvertMode(TMainForm1& form, const CommandLineOptions& options);
