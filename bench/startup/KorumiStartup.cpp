// Starts Korumi's main window as the program does and exits after its first paint.
// Usage: bench_startup_korumi PROGRAM_FOLDER
#include "StartupProbe.h"
#include "app/MainWindow1.h"
#include "platform/Application.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    Application application(argc, argv);
    TMainForm1 form(QString::fromLocal8Bit(argv[1]), {});
    new QuitAfterFirstPaint(&form);
    form.show();
    return application.exec();
}
