#pragma once

#include "conversion/BatchRun.h"
#include "conversion/ProgressView.h"
#include "tests/support/TempDir.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

// What a run shows, as a view without a window keeps it: the last of each.
struct RecordedView : ProgressView {
    RunProgress Progress;
    QString Caption;
    qint64 SourceSize = -1;
    qint64 OutputSize = -1;
    QByteArray Thumbnail;

    void ShowProgress(const RunProgress& progress) override { Progress = progress; }
    void SetCaption(const QString& caption) override { Caption = caption; }
    void ShowSizes(qint64 source, qint64 output) override
    {
        SourceSize = source;
        OutputSize = output;
    }
    void ClearThumbnail() override { Thumbnail.clear(); }
    void ShowThumbnail(const QByteArray& jpeg) override { Thumbnail = jpeg; }
};

// Runs batches against a program folder of the test's own, without a window.
class BatchFixture : public ::testing::Test
{
protected:
    TempDir programDir;
    TempDir sourceDir;
    TempDir outputRoot;
    TempDir thumbnailDir; // stands for the process's private folder
    ConversionSettings settings;
    RecordedView view;
    std::unique_ptr<BatchRun> run;
    QList<double> passFractions; // how far the run is at the start of every pass
    QStringList commands;        // the text of every conversion command, in run order

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
