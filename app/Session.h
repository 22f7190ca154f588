#pragma once

#include "conversion/BatchJob.h"
#include "conversion/BatchResult.h"
#include "input/BackgroundIntake.h"
#include "input/InputList.h"
#include "settings/PresetList.h"
#include "settings/ProgramFiles.h"
#include "settings/SavedSettings.h"

#include <QObject>
#include <memory>
#include <optional>

class BatchRun;
class ProgressView;

// What a view asks of a run beyond the session's own settings and list.
struct RunRequest {
    RunMode Mode = RunMode::Save;
    bool DryRun = false;
    bool SkipExisting = false; // on top of the saved choice
    int Jobs = 1;
    QString ThumbnailFolder = {};
    bool WaitForHandOff = false; // see BatchJob
};

// One Korumi session, whatever shows it: the presets, the remembered settings, the input list
// and the run. The window and the console mode are two views of it: they ask and show, the
// session loads, saves and decides. Problems come back as text for the view to show.
class Session : public QObject
{
    Q_OBJECT
public:
    // Reads the presets; PresetsProblem() tells when they cannot be read.
    explicit Session(ProgramFiles files);
    ~Session() override;

    const ProgramFiles& Files() const { return m_files; }
    const PresetList& Presets() const { return m_presets; }
    // Why the presets could not be read; nothing can be converted then.
    const std::optional<QString>& PresetsProblem() const { return m_presetsProblem; }

    // What is remembered, as the view has set it.
    SavedSettings& Settings() { return m_settings; }
    // The settings a pass starts with: the output folder as the user means it.
    ConversionSettings PassSettings() const;
    InputList& Inputs() { return m_inputs; }

    // Reads the settings file over the current settings (the view's start values), once.
    // Returns the problems to show.
    QStringList Load();
    // The settings file is there but could not be read; it is never written over then.
    bool SettingsUnreadable() const { return m_settingsUnreadable; }

    // Applies preset `index`; the problem when it could not be applied whole.
    std::optional<QString> ChoosePreset(int index);

    // Adds paths (those that are not text only named); the message naming what was not taken,
    // paths that do not exist among them, empty when everything was.
    QString AddPaths(const QStringList& paths, const QStringList& notText = {});
    // The same with folders searched in the background, after any paths still being taken, and
    // paths that do not exist passed over quietly; PathsTaken follows.
    void TakePaths(const QStringList& paths, const QStringList& notText = {});
    bool TakingPaths() const { return m_intake.Running(); }
    // Files found so far by the search running in the background.
    int PathsFoundSoFar() const { return m_inputs.FoundSoFar(); }
    // Ends the background search; nothing of what it found is taken.
    void StopTakingPaths();

    // Saves the settings file; the problem when it cannot be written. Nothing is saved before
    // Load, as the start values would replace the saved settings, nor over a file that could
    // not be read.
    std::optional<QString> Save();

    // Starts a run of the input list shown on `view`; RunFinished follows. False when the list
    // is empty or a run is going.
    bool Start(const RunRequest& request, ProgressView& view);
    bool Running() const { return m_run != nullptr; }
    // Ends the passes that are running; the run goes on. False when none was.
    bool CancelRunningPasses();
    // Stops the whole run; RunFinished follows. Nothing happens without a run.
    void Interrupt();

signals:
    // Paths given to TakePaths are in the list; `report` names what was not taken.
    void PathsTaken(const QString& report);
    void RunFinished(const BatchResult& result);

private:
    struct PathsToTake {
        QStringList paths;
        QStringList notText;
    };
    void takeNextPaths();
    void pathsTaken();

    ProgramFiles m_files;
    PresetList m_presets;
    std::optional<QString> m_presetsProblem;
    SavedSettings m_settings;
    bool m_loaded = false;
    bool m_settingsUnreadable = false;
    InputList m_inputs;
    BackgroundIntake m_intake{m_inputs};
    QList<PathsToTake> m_pathsToTake; // the first is being taken
    std::unique_ptr<BatchRun> m_run;
};
