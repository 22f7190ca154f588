// Starts Korumi's main window as the program does and exits after its first paint.
#include "StartupProbe.h"
#include "app/MainWindow1.h"
#include "platform/Application.h"
#include "platform/ProgramFolder.h"

int main(int argc, char** argv)
{
    Application application(argc, argv);
    TMainForm1 form(ProgramFolder(), {});
    new QuitAfterFirstPaint(&form);
    form.show();
    return application.exec();
}
