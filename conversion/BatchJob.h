#pragma once

#include <QStringList>

#include <QString>

// What a run does with each converted file.
enum class RunMode {
    Save,            // keep it in the output folder
    SaveAndRegister, // keep it and hand it to the media library
};

// What to convert and how.
struct BatchJob {
    QStringList Files;
    QString ProgramFolder;
    RunMode Mode = RunMode::Save;
    bool DryRun = false; // announce every pass, run and write nothing
    // Leave out the files whose target exists already: a batch that was stopped goes on where
    // it stopped.
    bool SkipExisting = false;
    // Wait for each hand-off to the media library and report the ones that fail, rather than
    // leave it to run on its own.
    bool WaitForHandOff = false;
    int Jobs = 1; // files converted at the same time
    // A folder of this process's own where a picture of each source is grabbed for the view
    // beside its passes; no pictures when empty.
    QString ThumbnailFolder = {};
};
