#pragma once

#include "platform/Messages.h"

#include <QStringList>

// Takes the messages the program shows, in order, instead of modal boxes nobody could answer,
// and counts its beeps.
struct MessageRecorder {
    QStringList Shown;
    int Beeps = 0;
    Messages::Handler Previous = Messages::SetHandler([this](const QString& text) { Shown << text; });
    std::function<void()> PreviousBeep = Messages::SetBeepHandler([this] { ++Beeps; });
    ~MessageRecorder()
    {
        Messages::SetHandler(Previous);
        Messages::SetBeepHandler(PreviousBeep);
    }
};
