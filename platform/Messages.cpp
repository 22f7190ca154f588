#include "platform/Messages.h"

#include "platform/ProgramTitle.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace Messages
{

namespace
{
Handler& currentHandler()
{
    static Handler handler;
    return handler;
}

QuestionHandler& currentQuestionHandler()
{
    static QuestionHandler handler;
    return handler;
}

std::function<void()>& currentBeepHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void Show(const QString& text, QWidget* parent, const QString& details)
{
    Beep();
    if (const Handler& handler = currentHandler()) {
        handler(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok, parent);
    box.setDetailedText(details);
    box.exec();
}

bool Ask(const QString& text, QWidget* parent)
{
    if (const QuestionHandler& handler = currentQuestionHandler())
        return handler(text);
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole));
    box.exec();
    return box.clickedButton() == yes;
}

QuestionHandler SetQuestionHandler(QuestionHandler handler)
{
    QuestionHandler previous = std::move(currentQuestionHandler());
    currentQuestionHandler() = std::move(handler);
    return previous;
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
