#pragma once

#include <QImage>
#include <QString>

// What the batch run shows while it works.
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
};
