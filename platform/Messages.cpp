#include "platform/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

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
    QApplication::beep();
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
    return [](const QString& text) {
        std::fputs(text.toUtf8().append('\n').constData(), stderr);
        std::fflush(stderr);
    };
}

} // namespace Messages

namespace Messages
{
void Beep()
{
    QApplication::beep();
}
} // namespace Messages
