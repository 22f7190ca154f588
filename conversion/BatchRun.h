#pragma once

#include "conversion/BatchJob.h"
#include "conversion/BatchResult.h"
#include "conversion/ConversionState.h"
#include "conversion/FileConversion.h"
#include "conversion/SourceLengths.h"
#include "conversion/TargetClaims.h"
#include "conversion/ThumbnailGrab.h"
#include "conversion/TimeLeft.h"
#include "platform/JobControl.h"
#include "platform/SleepInhibitor.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class ProgressView;

// Converts the listed files, up to Jobs at a time (in list order; a dry run announces them in order),
// driven by the event loop. It makes the output folder, plans every target, claims each target
// while its file is converted, shows each pass and how far the run has come, grabs a thumbnail
// beside each pass, and collects the results.
class BatchRun : public QObject
{
    Q_OBJECT
public:
    using SettingsSource = FileConversion::SettingsSource;

    // `settings` is read when each pass starts; `view` is told what the run does.
    BatchRun(BatchJob job, SettingsSource settings, ProgressView& view, QObject* parent = nullptr);

    // Begins the run; Finished follows, through the event loop unless nothing can run at all.
    void Start();

    // Ends the running pass of each file being converted, whose partial output is then removed;
    // the run goes on. False when no encoder is running.
    bool CancelRunningPasses();

    // Stops the whole run: the running passes end as a cancel does and no further pass starts.
    // Finished follows with RunEnd::Interrupted. May be called before Start.
    void Interrupt();

signals:
    void PassStarted(const PassStart& pass);
    void Finished(const BatchResult& result);

private:
    struct Running {
        FileConversion* conversion;
        QString target;
        PassStart pass;
        double fraction = 0; // of the file
    };

    void planTargets(const QString& outputFolder);
    void leaveOutSameFiles();
    void leaveOutConverted();
    void fillSlots();
    void announceFiles();
    void startFile(int fileIndex);
    void onPassStarted(FileConversion* conversion, const PassStart& pass);
    void onProgressed(FileConversion* conversion, double fraction);
    void onEnded(FileConversion* conversion, const FileOutcome& outcome);
    void showProgress();
    void showSizes();
    void showThumbnail();
    void stop(RunEnd end, const QString& reason = QString());
    void finish(RunEnd end, const QString& reason = QString());
    // Runs one step; an error in it stops the run as aborted, with the error as the reason.
    void guarded(const std::function<void()>& step);

    BatchJob m_job;
    SettingsSource m_settings;
    ConversionState m_shown; // the file the view shows
    ProgressView& m_view;
    QTimer m_sizesTimer; // shows the sizes of the file and its output every second
    ThumbnailGrab m_thumbnail;
    BatchResult m_result;
    QStringList m_targets; // planned at the start, one per file
    TargetClaims m_claims{m_targets};
    QString m_outputFolder; // clean and absolute
    QList<Running> m_running;
    int m_nextFile = 0;
    int m_filesDone = 0;
    QList<int> m_doneFiles; // by their places in the list
    SourceLengths m_lengths;
    WorkingClock m_clock; // a pause from the terminal is no time spent converting
    TimeLeft m_timeLeft;
    std::unique_ptr<SleepInhibitor> m_keepAwake; // from the start of a run to its end
    std::optional<RunEnd> m_stopEnd;             // set once the run is stopping
    QString m_stopReason;
    bool m_started = false;
    bool m_finished = false;
};
