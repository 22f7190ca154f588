#pragma once

#include <QByteArray>
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

// What the batch run shows while it works, pushed to the view as it happens: the view keeps
// nothing of the run's to look at.
class ProgressView
{
public:
    virtual ~ProgressView() = default;

    // The run has `files` files.
    virtual void SetBarMax(int /*files*/) {}
    // At the start of file i of n the run is exactly i / n done; between files it moves smoothly.
    virtual void ShowProgress(const RunProgress& progress) = 0;
    // Shows "source -> target" at once, even while the run is busy.
    virtual void SetCaption(const QString&) {}
    // The size of the source being converted and of its output so far, in bytes (-1 when there
    // is none): when its pass starts and every second after.
    virtual void ShowSizes(qint64 /*source*/, qint64 /*output*/) {}
    virtual void ClearThumbnail() {}
    // A JPEG picture of the source; a view that cannot decode it shows none.
    virtual void ShowThumbnail(const QByteArray&) {}
    // How many pixels of a picture the view shows to a point of its size: a thumbnail taken that
    // much larger looks sharp.
    virtual int PictureScale() const { return 1; }
    // A pass starts; a view that lists passes shows it.
    virtual void AnnouncePass(const PassStart&) {}
};
