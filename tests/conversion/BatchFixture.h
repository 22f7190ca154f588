#pragma once

#include "conversion/BatchRun.h"
#include "conversion/ProgressWindow1.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

// Runs batches against a program folder of the test's own, with the real progress window.
class BatchFixture : public ::testing::Test
{
protected:
    TempDir programDir;
    TempDir sourceDir;
    TempDir outputRoot;
    TempDir thumbnailDir; // stands for the process's private folder
    ConversionState state;
    ConversionSettings settings;
    MessageRecorder messages;
    std::unique_ptr<TProgressForm1> form;
    std::unique_ptr<BatchRun> run;
    QList<int> barPositions; // at the start of every pass
    QStringList commands;    // the text of every conversion command, in run order

    BatchFixture();

    // Puts the real encoder front and registration tool into the program folder.
    void UseBuiltTools() const;
    // Puts recording stand-ins into the program folder; they log each call to Log().
    void UseRecordingTools() const;
    QStringList Log() const;

    // Runs a batch to its end and returns how it ended.
    BatchResult Run(const QStringList& files, bool itunes = false, bool dryRun = false);
    // Sets up the run without starting it.
    void Prepare(const QStringList& files, bool itunes = false, bool dryRun = false);
    BatchResult StartAndWait();
};
