#include "app/Startup.h"

#include "app/CommandLineOptions.h"
#include "app/ConvertMode.h"
#include "app/MainWindow1.h"
#include "app/Version.h"
#include "platform/Application.h"
#include "platform/Console.h"
#include "platform/Fonts.h"
#include "platform/JobControl.h"
#include "platform/Printable.h"
#include "platform/ProgramFolder.h"
#include "platform/ProgramTitle.h"
#include "platform/RuntimeFolder.h"
#include "platform/StopSignals.h"
#include "settings/ProgramFiles.h"

#include <QCoreApplication>
#include <csignal>
#include <memory>

namespace
{

constexpr int UsageErrorStatus = 2;

// The arguments after the program's name; those that are not text go to `notText` instead,
// since as text they would name some other file.
QStringList argumentsOf(int argc, char** argv, QStringList& notText)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        if (IsUtf8(argv[i]))
            arguments << QString::fromUtf8(argv[i]);
        else
            notText << PrintableBytes(argv[i]);
    }
    return arguments;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The console mode needs no display: it runs without any window system.
int runConsole(int argc, char** argv, const CommandLineOptions& options)
{
    QCoreApplication application(argc, argv);
    StopSignals stopSignals;
    return RunConvertMode(options, PrepareProgramFiles(ProgramFolder()), stopSignals);
}

} // namespace

int RunKorumi(int argc, char** argv)
{
    KeepStandardStreamsOpen();
    // A reader that goes away (`korumi --convert ... | head -1`) must not end the run.
    std::signal(SIGPIPE, SIG_IGN);
    // Ctrl+Z stops the encoders too, and fg resumes them.
    JobControl::Install();
    QStringList notText;
    CommandLineOptions options = ParseCommandLine(argumentsOf(argc, argv, notText));
    options.PathsNotText = notText;
    switch (options.RunMode) {
    case CommandLineOptions::Mode::Help:
        WriteLine(stdout, UsageText());
        return 0;
    case CommandLineOptions::Mode::Version:
        WriteLine(stdout, ProgramTitle + u' ' + KorumiVersion);
        return 0;
    case CommandLineOptions::Mode::UsageError:
        WriteLine(stderr, QStringLiteral("korumi: ") + options.Error + u'\n' + UsageText());
        return UsageErrorStatus;
    case CommandLineOptions::Mode::Convert:
        break;
    case CommandLineOptions::Mode::Window:
        if (!hasDisplay()) {
            WriteLine(stderr, QStringLiteral("korumi: no display to show the window on; "
                                             "use --convert to convert without one"));
            return UsageErrorStatus;
        }
        break;
    }

    // Qt looks up its runtime folder as the application object starts; the encoder front keeps
    // its pass logs there too. A folder made for this run goes when it ends.
    const RuntimeFolder runtimeFolder;
    if (options.RunMode == CommandLineOptions::Mode::Convert)
        return runConsole(argc, argv, options);

    const Fonts::ConfigurationPreload fontConfiguration;
    Application application(argc, argv);
    std::unique_ptr<TMainForm1> mainForm;
    try {
        mainForm = std::make_unique<TMainForm1>(PrepareProgramFiles(ProgramFolder()), options.Paths,
                                                options.PathsNotText);
    } catch (const std::exception& error) {
        // The main window could not be built: the error is shown and no window appears.
        Application::ShowException(error);
        return 1;
    }
    // A logout, `kill` or Ctrl+C ends the running pass and closes the window as its × does.
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::Received, mainForm.get(), &TMainForm1::Shutdown);
    mainForm->show();
    // Ask for focus: the first activation is what loads the settings and the command-line files.
    mainForm->activateWindow();
    return application.exec();
}
