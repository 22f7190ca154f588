#include "platform/Messages.h"

#include "platform/ProgramTitle.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

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

// A box must not open under one of the program's windows that stay on top (a run's progress
// window), which would cover its buttons.
void keepAboveStayingWindows(QMessageBox& box)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* window) {
            return window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        }))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
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
    keepAboveStayingWindows(box);
    box.exec();
}

bool Ask(const QString& text, QWidget* parent)
{
    if (const QuestionHandler& handler = currentQuestionHandler())
        return handler(text);
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole));
    keepAboveStayingWindows(box);
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
