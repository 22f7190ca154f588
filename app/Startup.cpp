#include "app/Startup.h"

#include "app/MainWindow1.h"
#include "platform/Application.h"
#include "platform/ProgramFolder.h"

int RunKorumi(int argc, char** argv)
{
    Application application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    try {
        TMainForm1 mainForm(ProgramFolder(), arguments);
        mainForm.show();
        return application.exec();
    } catch (const std::exception& error) {
        // The main window could not be built: the error is shown and no window appears.
        Application::ShowException(error);
        return 1;
    }
}
