#pragma once

#include <QList>
#include <QString>

// How a batch run ended.
enum class RunEnd {
    Completed,      // every file was taken in turn
    EncoderMissing, // the encoder could not be started
    Aborted,        // an error stopped the run
};

// One file that could not be converted.
struct FileFailure {
    QString Name;     // the source's file name
    int ExitCode = 0; // the encoder's exit code; meaningless when SameFile
    bool SameFile = false;
};

struct BatchResult {
    RunEnd End = RunEnd::Completed;
    int FileCount = 0;
    int Converted = 0; // files whose passes all completed
    int CancelledPasses = 0;
    QList<FileFailure> Failures;

    bool AllConverted() const { return End == RunEnd::Completed && Converted == FileCount; }
};

// The message shown after a run in which files failed: a header, then one line per file.
QString FailureReport(const QList<FileFailure>& failures);

inline const QString EncoderMissingMessage =
    QStringLiteral("ffmpeg.exe を起動できませんでした。処理を中止します。");
inline const QString RunAbortedMessage =
    QStringLiteral("非対応フォーマットが含まれていました。処理を中止します。");
