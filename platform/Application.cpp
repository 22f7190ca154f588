#include "platform/Application.h"

#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/Messages.h"
#include "platform/ProgramTitle.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ProgramTitle);
    setApplicationDisplayName(ProgramTitle);
    Fonts::RegisterSubstitutions();
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EAbort&) {
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}

void Application::ShowException(const std::exception& error)
{
    if (dynamic_cast<const EAbort*>(&error))
        return;
    if (auto* own = dynamic_cast<const Exception*>(&error))
        Messages::Show(own->Message());
    else
        Messages::Show(QString::fromUtf8(error.what()));
}
