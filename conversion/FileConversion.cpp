#include "conversion/FileConversion.h"

#include "conversion/BatchJob.h"
#include "conversion/HandOff.h"
#include "conversion/TimeLeft.h"
#include "platform/Paths.h"
#include "platform/Processes.h"

namespace
{

// A packet or two cut short where a file was cut (the last sound frame of many a clip) is no
// damage a viewer sees.
constexpr int TolerableDecodeErrors = 2;

} // namespace

QString SubtitlesLeftOutText(const QStringList& kinds)
{
    QStringList parts;
    QStringList named; // forms ffmpeg cannot read, by their names
    for (const QString& kind : kinds) {
        if (kind != QLatin1String("picture") && kind != QLatin1String("teletext") &&
            kind != QLatin1String("arib_caption") && !named.contains(kind))
            named << kind;
    }
    const auto count = [&kinds](const QString& kind) { return kinds.count(kind); };
    if (const int pictures = count(QStringLiteral("picture")))
        parts << QStringLiteral("画像の字幕 %1 本は MP4 に入らないため、入れていません").arg(pictures);
    if (const int pages = count(QStringLiteral("teletext")))
        parts << QStringLiteral("テレテキストの字幕 %1 本は MP4 に入らないため、入れていません").arg(pages);
    if (const int captions = count(QStringLiteral("arib_caption")))
        parts << QStringLiteral("放送の字幕 %1 本は読み取れないため、入れていません").arg(captions);
    for (const QString& kind : named)
        parts << QStringLiteral("字幕 %1 本 (%2) は読み取れないため、入れていません")
                     .arg(count(kind))
                     .arg(kind);
    return parts.join(QStringLiteral("。"));
}

FileConversion::FileConversion(const BatchJob& job, int fileIndex, QString target, SettingsSource settings,
                               QObject* parent)
    : QObject(parent), m_job(job), m_fileIndex(fileIndex), m_source(job.Files.at(fileIndex)),
      m_target(std::move(target)), m_settings(std::move(settings))
{
    connect(&m_encoder, &HiddenProcess::OutputArrived, this, [this](const QByteArray& bytes) {
        const QString writingBefore = m_report.WritingPath();
        m_report.AddOutput(bytes);
        if (m_report.WritingPath() != writingBefore)
            emit Writing(m_report.WritingPath());
        if (const std::optional<double> passDone = m_report.Fraction())
            emit Progressed((m_pass - 1 + *passDone) / m_passes);
    });
    connect(&m_encoder, &HiddenProcess::ErrorsArrived, this,
            [this](const QByteArray& bytes) { m_report.AddErrors(bytes); });
    connect(&m_encoder, &HiddenProcess::Finished, this, &FileConversion::onEncoderFinished);
    connect(&m_encoder, &HiddenProcess::FailedToStart, this,
            [this](const QString& message) { emit CannotConvert(RunEnd::EncoderMissing, message); });
}

void FileConversion::Start()
{
    m_passes = m_settings().TwoPass ? 2 : 1;
    // Converting a file onto itself would destroy it (a link made since the targets were planned).
    if (IsSameFile(m_source, m_target)) {
        m_outcome.Failure = FileFailure{Paths::ExtractFileName(m_source), 0, true, {}, 0, m_source};
        QMetaObject::invokeMethod(this, &FileConversion::end, Qt::QueuedConnection);
        return;
    }
    QMetaObject::invokeMethod(this, &FileConversion::startPass, Qt::QueuedConnection);
}

bool FileConversion::CancelPass()
{
    if (!m_encoder.IsRunning())
        return false;
    m_cancelRequested = true;
    return m_encoder.Stop();
}

void FileConversion::Stop()
{
    m_stopping = true;
    if (CancelPass())
        return;
    m_outcome.Stopped = !m_outcome.Converted; // between passes, or while handed off
    QMetaObject::invokeMethod(this, &FileConversion::end, Qt::QueuedConnection);
}

void FileConversion::startPass()
{
    if (m_stopping)
        return;
    const Command command = ConversionCommand(m_source, m_target, m_pass, m_settings());
    emit PassStarted({m_fileIndex, int(m_job.Files.size()), m_pass, m_passes, m_source, m_target, command});
    m_cancelRequested = false;
    m_report = EncoderReport(m_source);
    m_encoder.Start(command, m_job.ProgramFolder);
}

void FileConversion::onEncoderFinished(int exitCode, bool crashed)
{
    emit PassEnded();
    // The front writes beside the target and renames only a whole result into place, so a
    // cancelled or failed pass leaves the target as it was. A cancel that came as the pass
    // succeeded came too late: the pass is done.
    const bool succeeded = !crashed && exitCode == 0;
    if (m_cancelRequested && !succeeded) {
        (m_stopping ? m_outcome.Stopped : m_outcome.Cancelled) = true;
        end();
        return;
    }
    if (!crashed && exitCode == FfmpegMissingStatus) {
        emit CannotConvert(RunEnd::FfmpegMissing, m_report.Reason());
        return;
    }
    if (!succeeded) {
        // The file is done: a later pass could only fail again, and it is reported once.
        // Killed outright, the encoder's "exit code" is the signal's number.
        m_outcome.Failure = FileFailure{Paths::ExtractFileName(m_source),
                                        crashed ? 0 : exitCode,
                                        false,
                                        m_report.Reason(),
                                        crashed ? exitCode : 0,
                                        m_source};
        end();
        return;
    }
    passEnded();
}

void FileConversion::passEnded()
{
    if (m_pass < m_passes) {
        if (m_stopping) {
            m_outcome.Stopped = true;
            end();
            return;
        }
        ++m_pass;
        QMetaObject::invokeMethod(this, &FileConversion::startPass, Qt::QueuedConnection);
        return;
    }
    m_outcome.Converted = true;
    m_outcome.LeftOut = SubtitlesLeftOutText(m_report.SubtitlesLeftOut());
    if (const int errors = m_report.DecodeErrors(); errors > TolerableDecodeErrors)
        m_outcome.Damage = QStringLiteral("壊れたところがあります (デコードエラー %1 件、%2 から)")
                               .arg(errors)
                               .arg(ClockText(int(m_report.FirstDecodeErrorSeconds().value_or(0))));
    if (m_job.Mode != RunMode::SaveAndRegister) {
        end();
        return;
    }
    if (!m_job.WaitForHandOff) {
        // The media library is an extra; a missing registration tool is not the conversion's failure.
        StartDetached(RegistrationProgram, {m_target}, m_job.ProgramFolder);
        end();
        return;
    }
    auto* handOff = new HandOff(this);
    connect(handOff, &HandOff::Done, this, [this](const QString& problem) {
        if (!problem.isEmpty())
            m_outcome.HandOffProblem = problem;
        end();
    });
    handOff->Start(m_target, m_job.ProgramFolder);
}

void FileConversion::end()
{
    if (m_ended)
        return;
    m_ended = true;
    emit Ended(m_outcome);
}
