#include "conversion/BatchRun.h"

#include "conversion/ProgressView.h"
#include "conversion/TargetPlan.h"
#include "platform/Errors.h"
#include "platform/JpegImage.h"
#include "platform/Paths.h"
#include "platform/Processes.h"

#include <QDir>
#include <QFile>

namespace
{
const QString RegistrationProgram = QStringLiteral("addfile.exe");

QString MessageOf(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return own->Message();
    return QString::fromUtf8(error.what());
}
} // namespace

BatchRun::BatchRun(BatchJob job, SettingsSource settings, ConversionState& state, ProgressView& view,
                   QObject* parent)
    : QObject(parent), m_job(std::move(job)), m_settings(std::move(settings)), m_state(state), m_view(view)
{
    m_state.ProgramFolder = m_job.ProgramFolder;
    m_result.FileCount = m_job.Files.size();
    connect(&m_thumbnail, &ThumbnailGrab::Done, this, [this] {
        guarded([this] {
            showThumbnail();
            startEncoder();
        });
    });
    connect(&m_encoder, &HiddenProcess::Finished, this,
            [this](int exitCode, bool crashed) { guarded([=] { onEncoderFinished(exitCode, crashed); }); });
    connect(&m_encoder, &HiddenProcess::FailedToStart, this, [this] { finish(RunEnd::EncoderMissing); });
}

void BatchRun::Start()
{
    m_running = true;
    if (m_interrupted) {
        finish(RunEnd::Interrupted);
        return;
    }
    guarded([this] {
        m_view.SetBarMax(m_job.Files.size());
        m_view.SetBarPosition(0);
        m_view.SetTimerEnabled(true);
        const ConversionSettings settings = m_settings();
        m_passes = settings.TwoPass ? 2 : 1;
        // The folder is made once, here: a folder that cannot be made would fail every file.
        if (settings.OutputFolder.isEmpty()) {
            finish(RunEnd::NoOutputFolder);
            return;
        }
        if (!m_job.DryRun && !QDir().mkpath(settings.OutputFolder)) {
            finish(RunEnd::OutputFolderFailed, settings.OutputFolder);
            return;
        }
        m_targets = PlanTargets(m_job.Files, settings.OutputFolder);
        m_fileIndex = 0;
        queue(&BatchRun::startFile);
    });
}

bool BatchRun::CancelCurrentPass()
{
    if (!m_encoder.IsRunning())
        return false;
    m_cancelRequested = true;
    return m_encoder.Stop();
}

void BatchRun::Interrupt()
{
    m_interrupted = true;
    // A running encoder ends first, and its end finishes the run; otherwise the run ends now.
    if (!CancelCurrentPass())
        finish(RunEnd::Interrupted);
}

void BatchRun::startFile()
{
    if (m_fileIndex >= m_job.Files.size()) {
        finish(RunEnd::Completed);
        return;
    }
    m_state.SourcePath = m_job.Files.at(m_fileIndex);
    m_state.TargetPath = m_targets.at(m_fileIndex);
    m_pass = 1;
    // Converting a file onto itself would destroy it (a link made since the targets were planned).
    if (IsSameFile(m_state.SourcePath, m_state.TargetPath)) {
        m_result.Failures << FileFailure{Paths::ExtractFileName(m_state.SourcePath), 0, true};
        nextFile();
        return;
    }
    startPass();
}

void BatchRun::startPass()
{
    m_view.SetBarPosition(m_fileIndex);
    m_view.SetCaption(Paths::ExtractFileName(m_state.SourcePath) + QStringLiteral(" -> ") +
                      Paths::ExtractFileName(m_state.TargetPath));
    m_command = ConversionCommand(m_state.SourcePath, m_state.TargetPath, m_pass, m_settings());
    emit PassStarted({m_fileIndex, int(m_job.Files.size()), m_pass, m_passes, m_state.SourcePath,
                      m_state.TargetPath, m_command});
    if (m_job.DryRun) {
        passEnded(true);
        return;
    }
    if (!m_job.Thumbnails) {
        startEncoder();
        return;
    }
    m_view.ClearThumbnail();
    m_thumbnail.Start(ThumbnailArguments(m_state.SourcePath, m_job.ProgramFolder), m_job.ProgramFolder);
}

void BatchRun::showThumbnail()
{
    const QString path = ThumbnailPath(m_job.ProgramFolder);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    file.close();
    // Removed before decoding, so a broken picture cannot trouble the next run too.
    file.remove();
    m_view.ShowThumbnail(DecodeJpeg(bytes));
}

void BatchRun::startEncoder()
{
    m_cancelRequested = false;
    m_targetBefore = FileStamp::Of(m_state.TargetPath);
    m_encoder.Start(m_command, m_job.ProgramFolder);
}

void BatchRun::onEncoderFinished(int exitCode, bool crashed)
{
    if (m_cancelRequested) {
        QFile::remove(m_state.TargetPath);
        if (m_interrupted) {
            finish(RunEnd::Interrupted);
            return;
        }
        ++m_result.CancelledPasses;
        passEnded(false);
        return;
    }
    if (crashed || exitCode != 0) {
        // The file is done: a later pass could only fail again, and it is reported once.
        removeOwnOutput();
        m_result.Failures << FileFailure{Paths::ExtractFileName(m_state.SourcePath), exitCode, false};
        nextFile();
        return;
    }
    passEnded(true);
}

void BatchRun::removeOwnOutput()
{
    // Only what this pass wrote goes; a file the encoder never touched stays.
    if (FileStamp::Of(m_state.TargetPath) != m_targetBefore || !m_targetBefore.Exists)
        QFile::remove(m_state.TargetPath);
}

void BatchRun::passEnded(bool completed)
{
    if (m_pass < m_passes) {
        ++m_pass;
        queue(&BatchRun::startPass);
        return;
    }
    if (completed) {
        ++m_result.Converted;
        if (m_job.Mode == RunMode::SaveAndRegister && !m_job.DryRun)
            handOff();
    }
    nextFile();
}

void BatchRun::handOff()
{
    // The media library is an extra; a missing registration tool is not the conversion's failure.
    StartDetached(RegistrationProgram, {m_state.TargetPath}, m_job.ProgramFolder);
}

void BatchRun::nextFile()
{
    ++m_fileIndex;
    queue(&BatchRun::startFile);
}

void BatchRun::queue(void (BatchRun::*step)())
{
    QMetaObject::invokeMethod(
        this, [this, step] { guarded([this, step] { (this->*step)(); }); }, Qt::QueuedConnection);
}

void BatchRun::finish(RunEnd end, const QString& reason)
{
    if (!m_running)
        return;
    m_running = false;
    m_result.End = end;
    m_result.Reason = reason;
    m_view.SetTimerEnabled(false);
    emit Finished(m_result);
}

void BatchRun::guarded(const std::function<void()>& step)
{
    if (!m_running)
        return;
    try {
        step();
    } catch (const std::exception& error) {
        finish(RunEnd::Aborted, MessageOf(error));
    }
}
