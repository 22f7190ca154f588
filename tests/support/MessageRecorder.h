#pragma once

#include "platform/Messages.h"

#include <QStringList>

// Takes the messages the program shows, in order, instead of modal boxes nobody could answer.
struct MessageRecorder {
    QStringList Shown;
    Messages::Handler Previous = Messages::SetHandler([this](const QString& text) { Shown << text; });
    ~MessageRecorder() { Messages::SetHandler(Previous); }
};
