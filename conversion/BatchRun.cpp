#include "conversion/BatchRun.h"

#include "conversion/ProgressView.h"
#include "conversion/TargetPlan.h"
#include "platform/Errors.h"
#include "platform/FileChecks.h"
#include "platform/Paths.h"
#include "platform/Printable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

BatchRun::BatchRun(BatchJob job, SettingsSource settings, ProgressView& view, QObject* parent)
    : QObject(parent), m_job(std::move(job)), m_settings(std::move(settings)), m_view(view)
{
    m_result.FileCount = m_job.Files.size();
    connect(&m_thumbnail, &ThumbnailGrab::Done, this, [this] { guarded([this] { showThumbnail(); }); });
    m_sizesTimer.setInterval(1000);
    connect(&m_sizesTimer, &QTimer::timeout, this, &BatchRun::showSizes);
}

void BatchRun::Start()
{
    m_started = true;
    if (m_stopEnd) {
        finish(*m_stopEnd);
        return;
    }
    guarded([this] {
        m_clock.start();
        if (!m_job.DryRun) {
            m_sizesTimer.start();
            // A batch left alone must not stop for the night with a laptop that suspends.
            m_keepAwake = std::make_unique<SleepInhibitor>(QStringLiteral("動画を変換しています"));
        }
        const ConversionSettings settings = m_settings();
        // The folder is made once, here: a folder that cannot be made would fail every file.
        if (settings.OutputFolder.isEmpty()) {
            finish(RunEnd::NoOutputFolder);
            return;
        }
        if (Paths::NamesHome(settings.OutputFolder)) {
            finish(RunEnd::NoHomeFolder, settings.OutputFolder);
            return;
        }
        if (!m_job.DryRun && !QDir().mkpath(settings.OutputFolder)) {
            finish(RunEnd::OutputFolderFailed, settings.OutputFolder);
            return;
        }
        planTargets(settings.OutputFolder);
        m_view.SetBarMax(m_job.Files.size());
        showProgress();
        QMetaObject::invokeMethod(this, m_job.DryRun ? &BatchRun::announceFiles : &BatchRun::fillSlots,
                                  Qt::QueuedConnection);
    });
}

bool BatchRun::CancelRunningPasses()
{
    bool cancelled = false;
    for (const Running& running : m_running)
        cancelled = running.conversion->CancelPass() || cancelled;
    return cancelled;
}

void BatchRun::Interrupt()
{
    stop(RunEnd::Interrupted);
}

void BatchRun::planTargets(const QString& outputFolder)
{
    leaveOutSameFiles();
    m_outputFolder = QDir::cleanPath(QDir(outputFolder).absolutePath());
    const FoundFiles found = m_job.SkipExisting ? FoundFiles::EarlierResults : FoundFiles::UsersOwn;
    m_targets = PlanTargets(m_job.Files, m_outputFolder, found);
    if (m_job.SkipExisting)
        leaveOutConverted();
    if (m_job.DryRun)
        return;
    TargetClaims::RemoveStale(m_outputFolder);
    m_lengths.Start(m_job.Files);
}

void BatchRun::leaveOutSameFiles()
{
    QHash<QPair<quint64, quint64>, QString> seen;
    QStringList files;
    for (const QString& file : std::as_const(m_job.Files)) {
        const auto identity = FileIdentity(file);
        const auto first = identity ? seen.constFind(*identity) : seen.constEnd();
        if (first != seen.constEnd()) {
            m_result.SameFiles << Printable(file) + QStringLiteral(" (= ") + Printable(*first) + u')';
            continue;
        }
        if (identity)
            seen.insert(*identity, file);
        files.append(file);
    }
    m_job.Files = std::move(files);
    m_result.FileCount = m_job.Files.size();
}

void BatchRun::leaveOutConverted()
{
    QStringList files;
    QStringList targets;
    for (qsizetype i = 0; i < m_targets.size(); ++i) {
        if (QFileInfo::exists(m_targets.at(i))) {
            ++m_result.Skipped;
            continue;
        }
        files.append(m_job.Files.at(i));
        targets.append(m_targets.at(i));
    }
    m_job.Files = std::move(files);
    m_targets = std::move(targets);
    m_result.FileCount = m_job.Files.size();
}

void BatchRun::fillSlots()
{
    while (!m_stopEnd && m_running.size() < m_job.Jobs && m_nextFile < m_job.Files.size())
        startFile(m_nextFile++);
    if (m_running.isEmpty())
        finish(m_stopEnd.value_or(RunEnd::Completed), m_stopReason);
}

void BatchRun::announceFiles()
{
    // Enough to make each turn worth it, few enough that a stop is heard at once.
    constexpr int FilesPerTurn = 1000;
    if (m_finished)
        return;
    const ConversionSettings settings = m_settings();
    const ConversionCommands commands(settings);
    const int passes = settings.TwoPass ? 2 : 1;
    const int fileCount = m_job.Files.size();
    for (int turn = 0; turn < FilesPerTurn && !m_stopEnd && m_nextFile < fileCount; ++turn, ++m_nextFile) {
        const QString source = m_job.Files.at(m_nextFile);
        const QString target = m_targets.at(m_nextFile);
        for (int pass = 1; pass <= passes; ++pass) {
            const PassStart start{
                m_nextFile, fileCount, pass, passes, source, target, commands.For(source, target, pass)};
            m_view.AnnouncePass(start);
            emit PassStarted(start);
        }
        ++m_result.Converted;
        ++m_filesDone;
    }
    if (m_stopEnd || m_nextFile >= fileCount)
        finish(m_stopEnd.value_or(RunEnd::Completed), m_stopReason);
    else
        QMetaObject::invokeMethod(this, &BatchRun::announceFiles, Qt::QueuedConnection);
}

void BatchRun::startFile(int fileIndex)
{
    const TargetClaims::Claimed claimed =
        m_claims.Claim(m_targets.at(fileIndex), TargetPathFor(m_job.Files.at(fileIndex), m_outputFolder),
                       m_job.SkipExisting ? FoundFiles::EarlierResults : FoundFiles::UsersOwn);
    // Without locks no run could tell its targets from another's: no file is started there.
    if (!claimed.Problem.isEmpty()) {
        stop(RunEnd::LockFailed, m_outputFolder + QStringLiteral(": ") + claimed.Problem);
        return;
    }
    // Another run converts it, or has: it counts as converted before, as those planned so do.
    if (claimed.Done) {
        ++m_result.Skipped;
        --m_result.FileCount;
        ++m_filesDone;
        m_doneFiles << fileIndex;
        return;
    }
    const QString& target = claimed.Target;
    auto* conversion = new FileConversion(m_job, fileIndex, target, m_settings, this);
    m_running.append({conversion, target, {}, 0});
    connect(conversion, &FileConversion::PassStarted, this,
            [this, conversion](const PassStart& pass) { guarded([=] { onPassStarted(conversion, pass); }); });
    connect(conversion, &FileConversion::Progressed, this,
            [this, conversion](double fraction) { onProgressed(conversion, fraction); });
    connect(conversion, &FileConversion::Writing, this, [this, target](const QString& path) {
        if (m_shown.TargetPath == target)
            m_shown.WritingPath = path;
    });
    connect(conversion, &FileConversion::PassEnded, &m_thumbnail, &ThumbnailGrab::Stop);
    connect(conversion, &FileConversion::Ended, this,
            [this, conversion](const FileOutcome& outcome) { onEnded(conversion, outcome); });
    connect(conversion, &FileConversion::CannotConvert, this,
            [this, conversion](RunEnd why, const QString& reason) {
                onEnded(conversion, {});
                stop(why, reason);
            });
    conversion->Start();
}

void BatchRun::onPassStarted(FileConversion* conversion, const PassStart& pass)
{
    for (Running& running : m_running) {
        if (running.conversion == conversion) {
            running.pass = pass;
            running.fraction = double(pass.Pass - 1) / pass.Passes;
        }
    }
    m_shown.SourcePath = pass.Source;
    m_shown.TargetPath = pass.Target;
    m_shown.WritingPath.clear();
    const QString passPart =
        pass.Passes > 1 ? QStringLiteral("  (パス %1/%2)").arg(pass.Pass).arg(pass.Passes) : QString();
    m_view.SetCaption(Printable(Paths::ExtractFileName(pass.Source) + QStringLiteral(" -> ") +
                                Paths::ExtractFileName(pass.Target)) +
                      passPart);
    showSizes();
    showProgress();
    m_view.AnnouncePass(pass);
    emit PassStarted(pass);
    if (!m_job.ThumbnailFolder.isEmpty()) {
        m_view.ClearThumbnail();
        m_thumbnail.Start(ThumbnailArguments(pass.Source, m_job.ThumbnailFolder), m_job.ProgramFolder,
                          m_view.PictureScale());
    }
}

void BatchRun::onProgressed(FileConversion* conversion, double fraction)
{
    for (Running& running : m_running) {
        if (running.conversion == conversion)
            running.fraction = fraction;
    }
    showProgress();
}

void BatchRun::onEnded(FileConversion* conversion, const FileOutcome& outcome)
{
    const auto found = std::find_if(m_running.begin(), m_running.end(), [conversion](const Running& running) {
        return running.conversion == conversion;
    });
    if (found == m_running.end())
        return;
    m_claims.Release(found->target);
    m_running.erase(found);
    conversion->deleteLater();
    ++m_filesDone;
    m_doneFiles << conversion->FileIndex();
    m_result.Converted += outcome.Converted ? 1 : 0;
    const QString source = m_job.Files.at(conversion->FileIndex());
    if (outcome.Cancelled)
        m_result.Cancelled << source;
    if (outcome.Stopped)
        m_result.Stopped << source;
    if (outcome.Failure)
        m_result.Failures << *outcome.Failure;
    if (!outcome.LeftOut.isEmpty())
        m_result.LeftOut << Printable(source) + QStringLiteral(" : ") + outcome.LeftOut;
    if (!outcome.Damage.isEmpty())
        m_result.Damaged << Printable(source) + QStringLiteral(" : ") + outcome.Damage;
    if (outcome.HandOffProblem)
        m_result.HandOffProblems << Printable(source) + QStringLiteral(" : ") + *outcome.HandOffProblem;
    showProgress();
    QMetaObject::invokeMethod(this, &BatchRun::fillSlots, Qt::QueuedConnection);
}

void BatchRun::showProgress()
{
    RunProgress progress;
    progress.FileCount = m_job.Files.size();
    double done = m_filesDone;
    double media = 0; // of the run's media, in files of average length
    for (const int index : std::as_const(m_doneFiles))
        media += m_lengths.Weight(index);
    for (const Running& running : m_running) {
        progress.Running << FileProgress{running.pass.FileIndex, running.pass.Source, running.pass.Pass,
                                         running.pass.Passes, running.fraction};
        done += running.fraction;
        media += running.fraction * m_lengths.Weight(running.pass.FileIndex);
    }
    progress.Fraction = progress.FileCount > 0 ? done / progress.FileCount : 0;
    // The time a file takes follows the length of its media, not its place in the list.
    const double mediaFraction = progress.FileCount > 0 ? media / progress.FileCount : 0;
    progress.SecondsLeft = m_timeLeft.Update(std::min(mediaFraction, 1.0), m_clock.elapsed());
    m_view.ShowProgress(progress);
}

void BatchRun::showSizes()
{
    // The output grows under the encoder's own name for it until it is whole.
    const qint64 writing = m_shown.WritingPath.isEmpty() ? -1 : FileSizeOf(m_shown.WritingPath);
    m_view.ShowSizes(FileSizeOf(m_shown.SourcePath), writing >= 0 ? writing : FileSizeOf(m_shown.TargetPath));
}

void BatchRun::showThumbnail()
{
    const QString path = ThumbnailPath(m_job.ThumbnailFolder);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    file.close();
    // Removed before the view decodes it, so a broken picture cannot trouble the next run too.
    file.remove();
    m_view.ShowThumbnail(bytes);
}

void BatchRun::stop(RunEnd end, const QString& reason)
{
    if (m_stopEnd)
        return;
    m_stopEnd = end;
    m_stopReason = reason;
    if (!m_started || m_finished)
        return;
    if (m_running.isEmpty()) {
        finish(end, reason);
        return;
    }
    // Each running file ends as a cancel ends it; the last to end finishes the run.
    for (const Running& running : m_running)
        running.conversion->Stop();
}

void BatchRun::finish(RunEnd end, const QString& reason)
{
    if (m_finished)
        return;
    m_finished = true;
    m_result.End = end;
    m_result.Reason = reason;
    m_thumbnail.Stop();
    m_sizesTimer.stop();
    m_keepAwake.reset();
    emit Finished(m_result);
}

void BatchRun::guarded(const std::function<void()>& step)
{
    if (m_finished)
        return;
    try {
        step();
    } catch (const std::exception& error) {
        stop(RunEnd::Aborted, MessageOf(error));
    }
}
