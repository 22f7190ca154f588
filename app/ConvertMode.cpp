#include "app/ConvertMode.h"

#include "conversion/BatchRun.h"
#include "conversion/ConsoleProgress.h"
#include "input/InputList.h"
#include "platform/Console.h"
#include "platform/Errors.h"
#include "platform/Printable.h"
#include "platform/StopSignals.h"
#include "settings/PresetList.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstring>

namespace
{

constexpr int Failed = 1;

QString summary(const BatchResult& result, const QString& outputFolder)
{
    const QString interrupted = result.End == RunEnd::Interrupted
                                    ? QStringLiteral("interrupted by SIG%1: ")
                                          .arg(QString::fromLatin1(sigabbrev_np(StopSignals::First())))
                                    : QString();
    const QString skipped = result.Skipped > 0
                                ? QStringLiteral("; skipped, already converted: %1").arg(result.Skipped)
                                : QString();
    return interrupted +
           QStringLiteral("%1 of %2 files converted into %3; %4 failed, %5 passes cancelled")
               .arg(result.Converted)
               .arg(result.FileCount)
               .arg(Printable(outputFolder))
               .arg(result.Failures.size())
               .arg(result.CancelledPasses) +
           skipped;
}

void reportEnd(const BatchResult& result)
{
    const QString endMessage = EndMessage(result);
    if (!endMessage.isEmpty())
        WriteLine(stderr, endMessage);
    if (!result.Failures.isEmpty())
        WriteLine(stderr, FailureReport(result.Failures));
}

BatchResult convert(BatchJob job, const ConversionSettings& settings, StopSignals& stopSignals)
{
    ConversionState state;
    ConsoleProgress view(job.DryRun, IsTerminal(stdout));
    BatchRun run(
        std::move(job), [&settings] { return settings; }, state, view);
    view.Follow(run);
    BatchResult result;
    QObject::connect(&run, &BatchRun::Finished, &run, [&result](const BatchResult& finished) {
        result = finished;
        QCoreApplication::quit();
    });
    QObject::connect(&stopSignals, &StopSignals::Received, &run, &BatchRun::Interrupt);
    QTimer::singleShot(0, &run, [&run] {
        // A signal that came while the files were being gathered stops the run before it starts.
        if (StopSignals::First() != 0)
            run.Interrupt();
        run.Start();
    });
    QCoreApplication::exec();
    view.Close();
    return result;
}

int statusOf(const BatchResult& result)
{
    if (result.End == RunEnd::Interrupted)
        return 128 + StopSignals::First();
    return result.AllConverted() && result.CancelledPasses == 0 && result.Failures.isEmpty() ? 0 : Failed;
}

void saveSettings(const ProgramFiles& files, const SavedSettings& settings)
{
    try {
        WriteSettingsFile(files, settings);
    } catch (const Exception& error) {
        WriteLine(stderr, error.Message());
    }
}

} // namespace

int RunConvertMode(const CommandLineOptions& options, const ProgramFiles& files, StopSignals& stopSignals)
{
    PresetList presets;
    try {
        presets = PresetList::Read(files.PresetFile());
    } catch (const Exception& error) {
        WriteLine(stderr, error.Message());
        return Failed;
    }
    const LoadedSettings loaded = ReadSettingsFile(files, presets);
    for (const QString& problem : loaded.Problems)
        WriteLine(stderr, problem);

    InputList inputs;
    inputs.AddPaths(options.Paths);
    QList<UntakenPath> untaken = inputs.Untaken();
    for (const QString& name : options.PathsNotText)
        untaken << UntakenPath{name, TUntakable::utNameNotText};
    if (!untaken.isEmpty())
        WriteLine(stderr, UntakenReport(untaken));
    int status = Failed;
    if (!inputs.HasFiles()) {
        WriteLine(stderr, QStringLiteral("korumi: no files to convert"));
    } else {
        const ConversionSettings& settings = loaded.Settings.Conversion;
        const RunMode mode = options.ITunes ? RunMode::SaveAndRegister : RunMode::Save;
        BatchJob job{inputs.Paths(), files.ProgramFolder, mode, options.DryRun};
        job.SkipExisting = options.SkipExisting || loaded.Settings.SkipExisting;
        job.Jobs = options.Jobs > 0 ? options.Jobs : DefaultJobs();
        const BatchResult result = convert(std::move(job), settings, stopSignals);
        if (!options.DryRun)
            WriteLine(stdout, summary(result, settings.OutputFolder));
        else if (result.Skipped > 0) // standard output holds nothing but the commands
            WriteLine(stderr, QStringLiteral("skipped, already converted: %1").arg(result.Skipped));
        reportEnd(result);
        status = statusOf(result);
    }
    if (!options.DryRun)
        saveSettings(files, loaded.Settings);
    return status;
}
