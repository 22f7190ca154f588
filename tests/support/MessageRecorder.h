#pragma once

#include "platform/Messages.h"

#include <QStringList>

// Takes the messages the program shows, in order, instead of modal boxes nobody could answer,
// answers its questions with Answer, and counts its beeps.
struct MessageRecorder {
    QStringList Shown;
    QStringList Asked;
    bool Answer = false;
    int Beeps = 0;
    Messages::QuestionHandler PreviousQuestion = Messages::SetQuestionHandler([this](const QString& text) {
        Asked << text;
        return Answer;
    });
    Messages::Handler Previous = Messages::SetHandler([this](const QString& text) { Shown << text; });
    std::function<void()> PreviousBeep = Messages::SetBeepHandler([this] { ++Beeps; });
    ~MessageRecorder()
    {
        Messages::SetHandler(Previous);
        Messages::SetQuestionHandler(PreviousQuestion);
        Messages::SetBeepHandler(PreviousBeep);
    }
};
