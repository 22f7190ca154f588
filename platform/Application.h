#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler is shown in the
// standard error box and the event loop goes on; EAbort passes silently.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the message of the exception being handled (call from a catch block).
    static void ShowException(const std::exception& error);
};
