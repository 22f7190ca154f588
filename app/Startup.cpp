#include "app/Startup.h"

#include "app/CommandLineOptions.h"
#include "app/ConvertMode.h"
#include "app/MainWindow1.h"
#include "platform/Application.h"
#include "platform/Console.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"

#include <memory>

namespace
{

constexpr int UsageErrorStatus = 2;

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int RunKorumi(int argc, char** argv)
{
    const CommandLineOptions options = ParseCommandLine(argumentsOf(argc, argv));
    switch (options.RunMode) {
    case CommandLineOptions::Mode::Help:
        WriteLine(stdout, UsageText());
        return 0;
    case CommandLineOptions::Mode::Version:
        WriteLine(stdout, QStringLiteral("Korumi 2.1"));
        return 0;
    case CommandLineOptions::Mode::UsageError:
        WriteLine(stderr, QStringLiteral("korumi: ") + options.Error + u'\n' + UsageText());
        return UsageErrorStatus;
    case CommandLineOptions::Mode::Convert:
        // Nobody may be at a screen: without a display, draw off-screen and report on standard error.
        if (!hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        Messages::SetHandler(Messages::StandardErrorHandler());
        break;
    case CommandLineOptions::Mode::Window:
        break;
    }

    Application application(argc, argv);
    std::unique_ptr<TMainForm1> mainForm;
    try {
        mainForm = std::make_unique<TMainForm1>(ProgramFolder(), options.Paths);
    } catch (const std::exception& error) {
        // The main window could not be built: the error is shown and no window appears.
        Application::ShowException(error);
        return 1;
    }
    if (options.RunMode == CommandLineOptions::Mode::Convert)
        return RunConvertMode(*mainForm, options);
    mainForm->show();
    // Ask for focus: the first activation is what loads the settings and the command-line files.
    mainForm->activateWindow();
    return application.exec();
}
