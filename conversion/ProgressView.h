#pragma once

#include <QImage>
#include <QString>

// What the batch run shows while it works, and the cancel flag the user sets.
class ProgressView
{
public:
    virtual ~ProgressView() = default;

    virtual void SetBarMax(int max) = 0;
    virtual void SetBarPosition(int position) = 0;
    // Shows "source -> target" at once, even while the run is busy.
    virtual void SetCaption(const QString& caption) = 0;
    virtual void ClearThumbnail() = 0;
    virtual void ShowThumbnail(const QImage& picture) = 0;
    virtual void SetTimerEnabled(bool enabled) = 0;
    virtual void ClearCancelFlag() = 0;
    // True once the user's cancel has ended the running encoder.
    virtual bool CancelFlag() const = 0;
};
