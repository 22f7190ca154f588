#pragma once

#include "platform/Events.h"

#include <QPushButton>

// A flat push button with white bold caption.
class FadeButton : public QPushButton
{
public:
    FadeButton(QWidget* parent, const QString& caption);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }

    int Tag = 0;
    TNotifyEvent OnClick;
};
