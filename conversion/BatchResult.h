#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How a batch run ended.
enum class RunEnd {
    Completed,          // every file was taken in turn
    NoOutputFolder,     // no output folder was given; nothing ran
    NoHomeFolder,       // the output folder is in a home folder that is unknown; nothing ran
    OutputFolderFailed, // the output folder could not be made; nothing ran
    LockFailed,         // the output folder gives no locks, so no target could be claimed
    EncoderMissing,     // the encoder front could not be started
    FfmpegMissing,      // the encoder front could not run ffmpeg
    Aborted,            // an error stopped the run
    Interrupted,        // the run was asked to stop as a whole
};

// One file that could not be converted.
struct FileFailure {
    QString Name;     // the source's file name
    int ExitCode = 0; // the encoder's exit code; meaningless when SameFile or Signal
    bool SameFile = false;
    QString Reason = {}; // the encoder's own message, when it gave one
    int Signal = 0;      // the signal that killed the encoder, or 0
    QString Source = {}; // the source's path, which tells same-named files apart
};

struct BatchResult {
    RunEnd End = RunEnd::Completed;
    // What stopped the run: the error (Aborted), the folder (OutputFolderFailed, NoHomeFolder),
    // the folder and the system's error (LockFailed), the encoder's words (FfmpegMissing).
    QString Reason;
    int FileCount = 0;
    int Converted = 0;           // files whose passes all completed
    int Skipped = 0;             // files left out because their target existed already
    QStringList Cancelled;       // the sources whose conversion the user cancelled
    QStringList Stopped;         // the sources the run's stop ended while they were converted
    QList<FileFailure> Failures; // each failed file once
    QStringList HandOffProblems; // "source : why", for hand-offs that were waited for and failed
    QStringList LeftOut;         // "source : what", for converted files that lack part of their source
    QStringList Damaged;         // "source : how", for converted files whose sources hold decode errors
    QStringList SameFiles;       // "source (= first)", for paths left out as a file given before

    bool AllConverted() const { return End == RunEnd::Completed && Converted == FileCount; }
};

// The message that says why a run stopped early; empty when it was not stopped.
QString EndMessage(const BatchResult& result);

// The message shown after a run in which files failed: a header, then one line per file, named
// by its file name, or by its path where another failed file has the same name, with what its
// failure means in plain words (a file cut short, a full disk, no video) and the encoder's own.
QString FailureReport(const QList<FileFailure>& failures);

// The same in plain words only, cut to its header and the first `shown` files, then "ほか N 件",
// so that a box showing it fits on the screen (the report goes in its details).
QString FailureSummary(const QList<FileFailure>& failures, int shown = 20);

// The message shown after a run that left out files whose target existed already.
QString SkippedReport(int skipped);

// The message shown after a run whose outputs lack part of their sources; empty when none do.
QString LeftOutReport(const QStringList& leftOut);

// The message shown after a run that converted damaged sources; empty when there were none.
QString DamageReport(const QStringList& damaged);

// The message shown after a run that was given one file more than once; empty when it was not.
QString SameFileReport(const QStringList& sameFiles);

// What ffmpeg's or the encoder front's words tell of a failure, in plain Japanese; empty when
// they name no cause Korumi knows.
QString PlainCause(const QString& words);

// One line that sums up a run for someone who was not watching it: "12 件を変換しました", with
// "（失敗 1 件）" after it when files failed (and how many sources were damaged).
QString RunSummary(const BatchResult& result);
