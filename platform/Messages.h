#pragma once

#include <QString>
#include <functional>

class QWidget;

// The program's messages: a beep, then a modal box titled ProgramTitle with one OK button.
// Where nobody can answer a box (tests), a handler takes the text instead.
namespace Messages
{

using Handler = std::function<void(const QString& text)>;

// Beeps and shows `text`; returns when the user has pressed OK (or the handler has taken it).
// `details`, when given, can be unfolded in the box.
void Show(const QString& text, QWidget* parent = nullptr, const QString& details = {});

// Asks `text` with the buttons はい and いいえ; true for はい. No beep: the user asked for it.
bool Ask(const QString& text, QWidget* parent = nullptr);

using QuestionHandler = std::function<bool(const QString& text)>;
// Replaces the question's box, as SetHandler does the message's; returns the previous handler.
QuestionHandler SetQuestionHandler(QuestionHandler handler);

// Replaces the modal box (not its beep); an empty handler restores it. Returns the previous handler.
Handler SetHandler(Handler handler);

// Replaces the system beep; an empty handler restores it. Returns the previous handler.
std::function<void()> SetBeepHandler(std::function<void()> handler);

// The default system beep.
void Beep();

} // namespace Messages
