#pragma once

#include <QString>

// What the batch run is working on now; the progress window reads it on every tick.
struct ConversionState {
    QString SourcePath;
    QString TargetPath;
    // Where the encoder writes the target until it is whole; empty until the encoder says.
    QString WritingPath;
};
