#include "platform/Messages.h"

#include "platform/Console.h"

#include <QApplication>
#include <QMessageBox>

namespace Messages
{

namespace
{
Handler& currentHandler()
{
    static Handler handler;
    return handler;
}
} // namespace

void Show(const QString& text, QWidget* parent)
{
    if (const Handler& handler = currentHandler()) {
        handler(text);
        return;
    }
    Beep();
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korumi"), text, QMessageBox::Ok, parent);
    box.exec();
}

Handler SetHandler(Handler handler)
{
    Handler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

Handler StandardErrorHandler()
{
    return [](const QString& text) { WriteLine(stderr, text); };
}

void Beep()
{
    QApplication::beep();
}

} // namespace Messages
