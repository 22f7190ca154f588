#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <optional>

// A file being converted, and how far it has come.
struct FileProgress {
    int FileIndex = 0; // counted from 0
    QString Source;
    int Pass = 1;
    int Passes = 1;
    double Fraction = 0; // of the whole file
};

// How far a run has come.
struct RunProgress {
    QList<FileProgress> Running;
    int FileCount = 0;
    double Fraction = 0;            // of the whole run: every pass of every file
    std::optional<int> SecondsLeft; // once there is enough to estimate from
};

struct PassStart;

// What the batch run shows while it works.
class ProgressView
{
public:
    virtual ~ProgressView() = default;

    // The run has `files` files.
    virtual void SetBarMax(int files) = 0;
    // At the start of file i of n the run is exactly i / n done; between files it moves smoothly.
    virtual void ShowProgress(const RunProgress& progress) = 0;
    // Shows "source -> target" at once, even while the run is busy.
    virtual void SetCaption(const QString& caption) = 0;
    virtual void ClearThumbnail() = 0;
    virtual void ShowThumbnail(const QImage& picture) = 0;
    // How many pixels of a picture the view shows to a point of its size: a thumbnail taken that
    // much larger looks sharp.
    virtual int PictureScale() const { return 1; }
    virtual void SetTimerEnabled(bool enabled) = 0;
    // A pass starts; a view that lists passes shows it.
    virtual void AnnouncePass(const PassStart&) {}
};
