#pragma once

#include <QApplication>

// The application object: the program's title, fonts and Qt's Japanese texts. Problems travel as
// values; nothing is thrown through Qt's event handlers.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    // Shows the message of the exception being handled (call from a catch block); EAbort passes
    // silently.
    static void ShowException(const std::exception& error);
};
