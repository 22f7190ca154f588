#include "app/ConvertMode.h"

#include "app/GivenPaths.h"
#include "app/Session.h"
#include "conversion/ConsoleProgress.h"
#include "platform/Console.h"
#include "platform/Paths.h"
#include "platform/Printable.h"
#include "platform/StopSignals.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstring>

namespace
{

constexpr int Failed = 1;
// Every file converted, but from sources with decode errors: their outputs show the damage.
constexpr int ConvertedDamaged = 3;

QString summary(const BatchResult& result, const QString& outputFolder)
{
    const QString interrupted = result.End == RunEnd::Interrupted
                                    ? QStringLiteral("interrupted by SIG%1: ")
                                          .arg(QString::fromLatin1(sigabbrev_np(StopSignals::First())))
                                    : QString();
    QString skipped = result.Skipped > 0
                          ? QStringLiteral("; skipped, already converted: %1").arg(result.Skipped)
                          : QString();
    if (!result.SameFiles.isEmpty())
        skipped += QStringLiteral("; left out, the same file as another: %1").arg(result.SameFiles.size());
    QStringList stopped;
    for (const QString& source : result.Stopped)
        stopped << Printable(Paths::ExtractFileName(source));
    const QString stoppedPart =
        stopped.isEmpty()
            ? QString()
            : QStringLiteral(", %1 stopped (%2)").arg(stopped.size()).arg(stopped.join(QStringLiteral(", ")));
    return interrupted +
           QStringLiteral("%1 of %2 files converted into %3; %4 failed, %5 cancelled")
               .arg(result.Converted)
               .arg(result.FileCount)
               .arg(Printable(outputFolder))
               .arg(result.Failures.size())
               .arg(result.Cancelled.size()) +
           stoppedPart +
           (result.Damaged.isEmpty() ? QString()
                                     : QStringLiteral(", %1 damaged").arg(result.Damaged.size())) +
           skipped;
}

void reportEnd(const BatchResult& result)
{
    const QString endMessage = EndMessage(result);
    if (!endMessage.isEmpty())
        WriteLine(stderr, endMessage);
    if (!result.Failures.isEmpty())
        WriteLine(stderr, FailureReport(result.Failures));
    for (const QString& problem : result.HandOffProblems)
        WriteLine(stderr, problem);
    for (const QString& report :
         {LeftOutReport(result.LeftOut), DamageReport(result.Damaged), SameFileReport(result.SameFiles)}) {
        if (!report.isEmpty())
            WriteLine(stderr, report);
    }
}

// How a console run went: the run's result, and why its commands could not all be written.
struct ConsoleRun {
    BatchResult Result;
    QString OutputProblem;
};

ConsoleRun convert(Session& session, const RunRequest& request, StopSignals& stopSignals)
{
    ConsoleProgress view(request.DryRun, IsTerminal(stdout), session.Files().ProgramFolder);
    view.OnOutputFailed = [&session] { session.Interrupt(); };
    BatchResult result;
    QObject::connect(&session, &Session::RunFinished, &session, [&result](const BatchResult& finished) {
        result = finished;
        QCoreApplication::quit();
    });
    QObject::connect(&stopSignals, &StopSignals::Received, &session, &Session::Interrupt);
    QTimer::singleShot(0, &session, [&session, &request, &view] {
        session.Start(request, view);
        // A signal that came while the files were being gathered stops the run before it starts.
        if (StopSignals::First() != 0)
            session.Interrupt();
    });
    QCoreApplication::exec();
    view.Close();
    return {result, view.OutputProblem()};
}

// The files to convert at a time: as asked, within what the machine can use.
int jobsFor(const CommandLineOptions& options)
{
    if (options.Jobs <= 0)
        return DefaultJobs();
    if (options.Jobs > MaxJobs()) {
        WriteLine(stderr, QStringLiteral("korumi: --jobs %1 is more than this machine can use; converting %2 "
                                         "files at a time")
                              .arg(options.Jobs)
                              .arg(MaxJobs()));
        return MaxJobs();
    }
    return options.Jobs;
}

int statusOf(const BatchResult& result)
{
    if (result.End == RunEnd::Interrupted && StopSignals::First() != 0)
        return 128 + StopSignals::First();
    const bool whole = result.AllConverted() && result.Cancelled.isEmpty() && result.Failures.isEmpty() &&
                       result.HandOffProblems.isEmpty();
    if (!whole)
        return Failed;
    return result.Damaged.isEmpty() ? 0 : ConvertedDamaged;
}

} // namespace

int RunConvertMode(const CommandLineOptions& options, const ProgramFiles& files, StopSignals& stopSignals)
{
    Session session(files);
    if (session.PresetsProblem()) {
        WriteLine(stderr, *session.PresetsProblem());
        return Failed;
    }
    for (const QString& problem : session.Load())
        WriteLine(stderr, problem);
    // Without the settings the output folder is unknown: nothing is converted.
    if (session.SettingsUnreadable())
        return Failed;
    const GivenPaths given = ReadGivenPaths(options);
    for (const QString& problem : given.Problems)
        WriteLine(stderr, problem);
    // Stopped while a list of files was still coming: nothing is started.
    if (StopSignals::First() != 0)
        return 128 + StopSignals::First();
    const QString untaken = session.AddPaths(given.Paths, given.NotText);
    // Stopped while folders were searched: nothing is started.
    if (StopSignals::First() != 0)
        return 128 + StopSignals::First();
    if (!untaken.isEmpty())
        WriteLine(stderr, untaken);
    int status = Failed;
    if (!session.Inputs().HasFiles()) {
        WriteLine(stderr, QStringLiteral("korumi: no files to convert"));
    } else {
        const RunRequest request{options.ITunes ? RunMode::SaveAndRegister : RunMode::Save,
                                 options.DryRun,
                                 options.SkipExisting,
                                 jobsFor(options),
                                 {},
                                 /*WaitForHandOff=*/true};
        const ConsoleRun run = convert(session, request, stopSignals);
        const BatchResult& result = run.Result;
        if (!options.DryRun)
            WriteLine(stdout, summary(result, session.PassSettings().OutputFolder));
        else if (result.Skipped > 0) // standard output holds nothing but the commands
            WriteLine(stderr, QStringLiteral("skipped, already converted: %1").arg(result.Skipped));
        reportEnd(result);
        status = statusOf(result);
        // A dry run's commands are what it makes: not all written, it failed, as coreutils tell it.
        if (!run.OutputProblem.isEmpty()) {
            WriteLine(stderr,
                      QStringLiteral("korumi: write error on standard output: %1").arg(run.OutputProblem));
            status = Failed;
        }
        // Every path given counts: one that could not be taken is not converted either.
        if (status == 0 && (!untaken.isEmpty() || !given.Problems.isEmpty()))
            status = Failed;
    }
    if (!options.DryRun) {
        if (const std::optional<QString> problem = session.Save())
            WriteLine(stderr, *problem);
    }
    return status;
}
