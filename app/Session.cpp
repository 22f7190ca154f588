#include "app/Session.h"

#include "conversion/BatchRun.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/SettingsFile.h"

Session::Session(ProgramFiles files) : m_files(std::move(files))
{
    connect(&m_intake, &BackgroundIntake::Finished, this, &Session::pathsTaken);
    try {
        m_presets = PresetList::Read(m_files.PresetFile());
    } catch (const Exception& error) {
        m_presetsProblem = error.Message();
    }
}

Session::~Session() = default;

ConversionSettings Session::PassSettings() const
{
    ConversionSettings settings = m_settings.Conversion;
    settings.OutputFolder = Paths::UsableFolder(settings.OutputFolder);
    return settings;
}

QStringList Session::Load()
{
    if (m_loaded)
        return {};
    const LoadedSettings loaded = ReadSettingsFile(m_files, m_presets, m_settings);
    m_settings = loaded.Settings;
    m_loaded = true;
    m_settingsUnreadable = loaded.Unreadable;
    return loaded.Problems;
}

std::optional<QString> Session::ChoosePreset(int index)
{
    const PresetList::Applied applied = m_presets.Apply(index, m_settings.Conversion);
    m_settings.PresetIndex = applied.Index;
    return applied.Problem;
}

namespace
{
// `missingToo`: paths that do not exist are named too; the window passes over them quietly.
QString untakenReport(const InputList& inputs, const QStringList& notText, bool missingToo)
{
    QList<UntakenPath> untaken = inputs.Untaken();
    if (!missingToo)
        untaken.removeIf([](const UntakenPath& path) { return path.Why == TUntakable::utNotFound; });
    for (const QString& name : notText)
        untaken << UntakenPath{name, TUntakable::utNameNotText};
    return UntakenReport(untaken);
}
} // namespace

QString Session::AddPaths(const QStringList& paths, const QStringList& notText)
{
    m_inputs.AddPaths(paths);
    return untakenReport(m_inputs, notText, true);
}

void Session::TakePaths(const QStringList& paths, const QStringList& notText)
{
    if (paths.isEmpty() && notText.isEmpty())
        return;
    m_pathsToTake.append({paths, notText});
    if (m_pathsToTake.size() == 1)
        takeNextPaths();
}

void Session::StopTakingPaths()
{
    // The paths dropped while the search ran are stopped with it.
    if (m_pathsToTake.size() > 1)
        m_pathsToTake.resize(1);
    m_intake.Stop();
}

void Session::takeNextPaths()
{
    if (!m_pathsToTake.isEmpty())
        m_intake.Start(m_pathsToTake.first().paths);
}

void Session::pathsTaken()
{
    // The next search starts first, so that a view told of this one sees that paths are still
    // being taken.
    const PathsToTake taken = m_pathsToTake.takeFirst();
    const QString report = untakenReport(m_inputs, taken.notText, false);
    takeNextPaths();
    emit PathsTaken(report);
}

std::optional<QString> Session::Save()
{
    if (!m_loaded || m_settingsUnreadable)
        return std::nullopt;
    try {
        WriteSettingsFile(m_files, m_settings);
    } catch (const std::exception& error) {
        return MessageOf(error);
    }
    return std::nullopt;
}

bool Session::Start(const RunRequest& request, ProgressView& view)
{
    if (m_run || !m_inputs.HasFiles())
        return false;
    BatchJob job{m_inputs.Paths(), m_files.ProgramFolder, request.Mode, request.DryRun};
    job.SkipExisting = request.SkipExisting || m_settings.SkipExisting;
    job.Jobs = request.Jobs;
    job.ThumbnailFolder = request.ThumbnailFolder;
    job.WaitForHandOff = request.WaitForHandOff;
    m_run = std::make_unique<BatchRun>(
        std::move(job), [this] { return PassSettings(); }, view);
    connect(m_run.get(), &BatchRun::Finished, this, [this](const BatchResult& result) {
        // Released once the signal that brought us here has returned.
        m_run.release()->deleteLater();
        emit RunFinished(result);
    });
    m_run->Start();
    return true;
}

bool Session::CancelRunningPasses()
{
    return m_run && m_run->CancelRunningPasses();
}

void Session::Interrupt()
{
    if (m_run)
        m_run->Interrupt();
}
