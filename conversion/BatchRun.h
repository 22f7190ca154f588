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
    bool DryRun = false;    // announce every pass, run and write nothing
    bool Thumbnails = true; // grab a picture of each source for the view before its passes
};

// One pass as it starts.
struct PassStart {
    int FileIndex = 0; // counted from 0
    int FileCount = 0;
    int Pass = 1;
    int Passes = 1;
    QString Source;
    QString Target;
    Command Conversion{EncoderProgram};
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

    // Begins the run; Finished follows, through the event loop unless nothing can run at all.
    void Start();

    // Ends the encoder of the current pass, whose partial output is then removed; false when no
    // encoder is running.
    bool CancelCurrentPass();

    // Stops the whole run: the running pass ends as a cancel does and no further pass starts.
    // Finished follows with RunEnd::Interrupted. May be called before Start.
    void Interrupt();

signals:
    void PassStarted(const PassStart& pass);
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
    void queue(void (BatchRun::*step)());
    void finish(RunEnd end, const QString& reason = QString());
    // Runs one step; an error in it ends the run as aborted, with the error as the reason.
    void guarded(const std::function<void()>& step);

    BatchJob m_job;
    SettingsSource m_settings;
    ConversionState& m_state;
    ProgressView& m_view;
    HiddenProcess m_encoder;
    ThumbnailGrab m_thumbnail;
    BatchResult m_result;
    QStringList m_targets; // planned at the start, one per file

    int m_fileIndex = 0;
    int m_pass = 1;
    int m_passes = 1;
    Command m_command{EncoderProgram};
    FileStamp m_targetBefore;
    bool m_cancelRequested = false;
    bool m_interrupted = false;
    bool m_running = false;
};
