// Converts the given files from Korumi's window, as a user pressing "[ 変換開始 ]" does, and
// exits when the window is usable again: 0, or 1 when the run showed a message (a failure).
// Usage: bench_window_batch PROGRAM_FOLDER FILE...
#include "app/MainWindow1.h"
#include "controls/FadeButton.h"
#include "platform/Application.h"
#include "platform/Console.h"
#include "platform/Messages.h"

#include <QTimer>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    Application application(argc, argv);
    int status = 0;
    Messages::SetHandler([&status](const QString& text) {
        WriteLine(stderr, text);
        status = 1;
    });
    QStringList files;
    for (int i = 2; i < argc; ++i)
        files << QString::fromLocal8Bit(argv[i]);
    TMainForm1 form(QString::fromLocal8Bit(argv[1]), files);
    form.FormActivate(&form);
    // The files are taken in the background: the run starts once the list holds them all, and the
    // bench ends when the window is usable again after it.
    bool started = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!started && form.InputFiles().size() == files.size()) {
            started = true;
            form.Button10Click(form.Button10);
        } else if (started && form.isEnabled()) {
            QCoreApplication::quit();
        }
    });
    poll.start(20);
    application.exec();
    return status;
}
