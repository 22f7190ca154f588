#include "app/ConvertMode.h"

#include "app/MainWindow1.h"
#include "controls/FadeButton.h"
#include "conversion/BatchRun.h"
#include "platform/Console.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QTimer>

namespace
{

void announcePasses(BatchRun& run, bool dryRun)
{
    QObject::connect(&run, &BatchRun::PassStarted, &run,
                     [dryRun](int fileIndex, int fileCount, int pass, int passes, const Command& command) {
                         if (dryRun) {
                             WriteLine(stdout, command.Text());
                             return;
                         }
                         const QStringList& arguments = command.Arguments();
                         WriteLine(stdout, QStringLiteral("[%1/%2] pass %3/%4: %5 -> %6")
                                               .arg(fileIndex + 1)
                                               .arg(fileCount)
                                               .arg(pass)
                                               .arg(passes)
                                               .arg(Paths::ExtractFileName(arguments.at(1)),
                                                    Paths::ExtractFileName(arguments.last())));
                     });
}

QString summary(const BatchResult& result, const QString& outputFolder)
{
    return QStringLiteral("%1 of %2 files converted into %3; %4 failed, %5 passes cancelled")
        .arg(result.Converted)
        .arg(result.FileCount)
        .arg(outputFolder)
        .arg(result.Failures.size())
        .arg(result.CancelledPasses);
}

} // namespace

int RunConvertMode(TMainForm1& form, const CommandLineOptions& options)
{
    form.DryRun = options.DryRun;
    form.FormActivate(&form); // the settings and the paths, as at the first activation
    if (form.InputFiles().isEmpty()) {
        WriteLine(stderr, QStringLiteral("korumi: no files to convert"));
        form.close();
        return 1;
    }

    int status = 1;
    form.OnRunStarting = [&options](BatchRun& run) { announcePasses(run, options.DryRun); };
    form.OnRunFinished = [&](const BatchResult& result) {
        if (!options.DryRun)
            WriteLine(stdout, summary(result, form.CurrentSettings().OutputFolder));
        status = result.AllConverted() && result.CancelledPasses == 0 && result.Failures.isEmpty() ? 0 : 1;
        form.close();
        QCoreApplication::quit();
    };
    QTimer::singleShot(0, &form, [&] {
        if (options.ITunes)
            form.Button11Click(form.Button11);
        else
            form.Button10Click(form.Button10);
    });
    QCoreApplication::exec();
    return status;
}
