#pragma once

#include <QString>
#include <QStringList>

// The output file of each source of a run, in source order: the source's file name with ".mp4"
// in the output folder, as a clean absolute path. A target that is one of the run's own sources,
// or that an earlier source already takes, gets the next free name, "name (2).mp4",
// "name (3).mp4", ..., so that no file of the run is written over by another file of the run. A
// file that only existed before the run is replaced as usual.
QStringList PlanTargets(const QStringList& sources, const QString& outputFolder);
