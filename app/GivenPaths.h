#pragma once

#include "app/CommandLineOptions.h"

// The paths a console run was given: those of the command line, with the names of each list it
// named in the list's place, in the order given.
struct GivenPaths {
    QStringList Paths;
    QStringList NotText;  // names that are not text, as people can read them: never taken, but named
    QStringList Problems; // one message each: a list that could not be read, an empty name
};

// Reads every list that `options` names, whole (standard input for "-").
GivenPaths ReadGivenPaths(const CommandLineOptions& options);
