#pragma once

#include "input/NameList.h"

#include <QString>
#include <QStringList>

// A file that lists paths to convert ("-" for standard input), named with --files-from or
// --files0-from.
struct PathListFile {
    QString File;
    ListSeparator Separator = ListSeparator::Line;
    int Position = 0; // its names go before Paths[Position], where it stood among the paths
};

// What the command line asks for.
struct CommandLineOptions {
    enum class Mode { Window, Convert, Help, Version, UsageError };

    Mode RunMode = Mode::Window;
    bool ITunes = false;
    bool DryRun = false;
    bool SkipExisting = false; // leave out files whose target exists already
    int Jobs = 0;              // files converted at the same time; 0 for the default
    QStringList Paths;         // files and folders for the input list
    QList<PathListFile> Lists; // files that list more of them
    // Arguments that are not text (not UTF-8), as people can read them: never taken, but named.
    QStringList PathsNotText;
    QString Error; // what is wrong, for a usage error
};

// Reads the arguments after the program name. Options may come in any order before "--"; every
// other argument, and every argument after "--", is a path. An unknown option is a usage error.
CommandLineOptions ParseCommandLine(const QStringList& arguments);

// How many files the console mode converts at the same time unless told: three where there are
// two processor cores or more (one encoder keeps only about 1.3 cores busy; measured on two
// cores, three at once finish a batch sooner than two), else one.
int DefaultJobs();

// The most files this machine converts at the same time: twice its processor cores, and at least
// 16. More would only start encoders that wait for each other.
int MaxJobs();

// The text of --help.
QString UsageText();
