#pragma once

#include "conversion/BatchResult.h"
#include "conversion/CommandLine.h"
#include "conversion/ConversionState.h"
#include "conversion/HiddenProcess.h"
#include "conversion/ThumbnailGrab.h"
#include "platform/FileStamp.h"

#include <QObject>
#include <QStringList>
#include <functional>

class ProgressView;

// What to convert and how.
struct BatchJob {
    QStringList Files;
    QString ProgramFolder;
    bool ITunes = false; // hand each finished file to the media library
    bool DryRun = false; // announce every pass, run and write nothing
};

// Converts the listed files one by one, once or twice each, driven by the event loop: per
// pass it shows the file pair, grabs a thumbnail, runs the encoder and handles its end.
class BatchRun : public QObject
{
    Q_OBJECT
public:
    using SettingsSource = std::function<ConversionSettings()>;

    // `settings` is read when each pass starts; `state` is kept up to date for the view to read.
    BatchRun(BatchJob job, SettingsSource settings, ConversionState& state, ProgressView& view,
             QObject* parent = nullptr);

    // Begins the run; Finished follows through the event loop.
    void Start();

    // Ends the encoder of the current pass; false when no encoder is running.
    bool CancelCurrentPass();

signals:
    void PassStarted(int fileIndex, int fileCount, int pass, int passes, const Command& command);
    void Finished(const BatchResult& result);

private:
    void startFile();
    void startPass();
    void startEncoder();
    void onEncoderFinished(int exitCode, bool crashed);
    void passEnded(bool completed);
    void showThumbnail();
    void removeOwnOutput();
    void handOff();
    void nextFile();
    void finish(RunEnd end);
    // Runs one step; an error in it ends the run as aborted.
    void guarded(const std::function<void()>& step);

    BatchJob m_job;
    SettingsSource m_settings;
    ConversionState& m_state;
    ProgressView& m_view;
    HiddenProcess m_encoder;
    ThumbnailGrab m_thumbnail;
    BatchResult m_result;

    int m_fileIndex = 0;
    int m_pass = 1;
    int m_passes = 1;
    Command m_command{EncoderProgram};
    FileStamp m_targetBefore;
    bool m_fileFailed = false;
    bool m_running = false;
};
