#include "platform/Messages.h"

#include "platform/ProgramTitle.h"

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

std::function<void()>& currentBeepHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void Show(const QString& text, QWidget* parent)
{
    Beep();
    if (const Handler& handler = currentHandler()) {
        handler(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

Handler SetHandler(Handler handler)
{
    Handler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

std::function<void()> SetBeepHandler(std::function<void()> handler)
{
    std::function<void()> previous = std::move(currentBeepHandler());
    currentBeepHandler() = std::move(handler);
    return previous;
}

void Beep()
{
    if (const auto& handler = currentBeepHandler())
        handler();
    else
        QApplication::beep();
}

} // namespace Messages
