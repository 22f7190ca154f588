#pragma once

#include "conversion/ProgressView.h"

class BatchRun;
struct PassStart;

// Shows a batch run on standard output, for a run nobody watches in a window: one line per pass
// ("[1/2] pass 1/1: a.avi -> a.mp4"), or for a dry run the exact text of each command.
class ConsoleProgress : public ProgressView
{
public:
    explicit ConsoleProgress(bool dryRun) : m_dryRun(dryRun) {}

    // Announces the passes of `run` as they start.
    void Follow(BatchRun& run);

    // A console has no bar, caption, picture or timer to keep up to date.
    void SetBarMax(int) override {}
    void SetBarPosition(int) override {}
    void SetCaption(const QString&) override {}
    void ClearThumbnail() override {}
    void ShowThumbnail(const QImage&) override {}
    void SetTimerEnabled(bool) override {}

private:
    void announce(const PassStart& pass) const;

    bool m_dryRun;
};
