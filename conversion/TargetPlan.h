#pragma once

#include <QStringList>

#include <QString>

// What a file found under a name the run makes up ("name (2).mp4") is taken to be.
enum class FoundFiles {
    UsersOwn,       // a file of the user's: the name is never used
    EarlierResults, // what an earlier run of the same files wrote: the name is planned again
};

// The output file of each source of a run, in source order: the source's file name with ".mp4"
// in the output folder, as a clean absolute path. A target that is one of the run's own sources,
// or that an earlier source already takes, gets the next free name, "name (2).mp4",
// "name (3).mp4", ..., so that no file of the run is written over by another file of the run.
// A file that only existed before the run is replaced as usual under its plain name; a made-up
// name that exists on disk is skipped when `found` says such files are the user's own.
QStringList PlanTargets(const QStringList& sources, const QString& outputFolder,
                        FoundFiles found = FoundFiles::UsersOwn);

// Made-up name `number` for the plain target `wanted`: `wanted` itself for 1, else
// "folder/name (n).mp4".
QString NumberedTarget(const QString& wanted, int number);
