#pragma once

#include <QString>

// The file the batch run shows now, whose sizes it shows as its output grows.
struct ConversionState {
    QString SourcePath;
    QString TargetPath;
    // Where the encoder writes the target until it is whole; empty until the encoder says.
    QString WritingPath;
};
