#pragma once

#include "conversion/BatchResult.h"
#include "conversion/CommandLine.h"
#include "conversion/EncoderReport.h"
#include "conversion/HiddenProcess.h"
#include "platform/FileChecks.h"

#include <QObject>
#include <functional>
#include <optional>

struct BatchJob;

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

// How the conversion of one file ended.
struct FileOutcome {
    bool Converted = false; // its last pass completed
    std::optional<FileFailure> Failure;
    bool Cancelled = false;                // the user's cancel ended it
    bool Stopped = false;                  // the run's stop ended it before its last pass completed
    std::optional<QString> HandOffProblem; // why a hand-off that was waited for failed
    QString LeftOut;                       // what of the source its output does not hold, when something
    QString Damage; // how the source is damaged, when it was converted with decode errors
};

// What the subtitle tracks of `kinds` (as the encoder names them, one per track) that an output
// leaves out are, in plain Japanese; empty for none.
QString SubtitlesLeftOutText(const QStringList& kinds);

// Converts one file of a run: its passes in order, each by the encoder front, which puts only a
// whole, successful result in place of the target. A failed pass ends the file. In the SaveAndRegister mode
// the finished file goes to the media library.
class FileConversion : public QObject
{
    Q_OBJECT
public:
    using SettingsSource = std::function<ConversionSettings()>;

    // Converts `job`'s file `fileIndex` into `target`; `settings` is read as each pass starts.
    FileConversion(const BatchJob& job, int fileIndex, QString target, SettingsSource settings,
                   QObject* parent = nullptr);

    int FileIndex() const { return m_fileIndex; }

    // Starts the first pass; Ended or CannotConvert follows through the event loop.
    void Start();
    // Ends the running pass as the user's cancel does: nothing of it stays, and the file ends
    // (a later pass would work from a log cut short). A pass that succeeds meanwhile stays done.
    bool CancelPass();
    // Ends the running pass as a cancel does and the file with it; Ended follows.
    void Stop();

signals:
    void PassStarted(const PassStart& pass);
    void PassEnded();
    // How much of the file is done, 0 to 1, as the encoder reports it.
    void Progressed(double fraction);
    // The file the encoder writes until the result is whole.
    void Writing(const QString& path);
    void Ended(const FileOutcome& outcome);
    // The encoder cannot work at all (EncoderMissing, FfmpegMissing): no file would convert.
    // `reason` is the encoder's own, when it gave one.
    void CannotConvert(RunEnd why, const QString& reason);

private:
    void startPass();
    void onEncoderFinished(int exitCode, bool crashed);
    void passEnded();
    void end();

    const BatchJob& m_job;
    int m_fileIndex;
    QString m_source;
    QString m_target;
    SettingsSource m_settings;
    HiddenProcess m_encoder;
    EncoderReport m_report;
    FileOutcome m_outcome;
    int m_pass = 1;
    int m_passes = 1;
    bool m_cancelRequested = false;
    bool m_stopping = false;
    bool m_ended = false;
};
