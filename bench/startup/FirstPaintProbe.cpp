// Preloaded into a Qt program (LD_PRELOAD) to end it the moment its first window has been
// painted, so that the time from exec to that moment can be taken from outside, for Korumi as
// users start it and for a bare window alike.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <unistd.h>

namespace
{

class ExitAfterFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Runs once the paint that is going on, and the flush to the screen with it, is done.
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            QTimer::singleShot(0, [] { _exit(0); });
        return false;
    }
};

void install()
{
    QCoreApplication::instance()->installEventFilter(new ExitAfterFirstPaint);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
