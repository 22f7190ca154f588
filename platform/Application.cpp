#include "platform/Application.h"

#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/Messages.h"
#include "platform/ProgramTitle.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace
{

// Qt's own dialogs and menus (the folder chooser, an edit field's menu, a message's details)
// speak the program's language. Without Qt's translations installed they stay in English.
void loadQtTranslations(QCoreApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

// Text that no control gives a font (Qt's dialogs and menus, a hint, what a line edit lays out
// before its font is set) is drawn in the windows' Japanese typeface at the desktop's size. Qt's
// own default is a generic name, which costs a search of every installed font for a fallback.
void useInterfaceTypeface()
{
    QFont font = QApplication::font();
    font.setFamily(Fonts::Installed(Fonts::UiGothic));
    QApplication::setFont(font);
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ProgramTitle);
    setApplicationDisplayName(ProgramTitle);
    // The compositor finds Korumi's icon and name through its menu entry.
    setDesktopFileName(QStringLiteral("korumi"));
    Fonts::RegisterSubstitutions();
    useInterfaceTypeface();
    loadQtTranslations(*this);
}

void Application::ShowException(const std::exception& error)
{
    if (dynamic_cast<const EAbort*>(&error) == nullptr)
        Messages::Show(MessageOf(error));
}
