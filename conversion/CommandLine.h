#pragma once

#include "conversion/Command.h"

// The settings one conversion pass is built from, as the main window's controls hold them.
struct ConversionSettings {
    int FrameRate = 30;       // frames per second, 1..30
    int VideoBitRate = 2048;  // kbit/s, 512..5000
    int SampleRateIndex = 1;  // 0 = 48000 Hz ... 4 = 8000 Hz
    int AudioBitRate = 128;   // kbit/s, 16..160
    int PictureSizeIndex = 1; // 0 = 640x480 ... 3 = 1280x720
    QString VideoCodec;       // "LIBX264" or "MPEG4"
    bool TwoPass = false;
    QString OutputFolder; // without trailing separator
};

// The name under which the encoder front is run.
inline const QString EncoderProgram = QStringLiteral("ffmpeg.exe");

// The output file for `source`: the output folder + the source's file name with ".mp4".
QString TargetPathFor(const QString& source, const QString& outputFolder);

// The conversion command for one pass (1 or 2; always 1 when two-pass is off).
Command ConversionCommand(const QString& source, int pass, const ConversionSettings& settings);

// The command that grabs one 80x60 picture of `source` into ThumbnailPath(programFolder).
Command ThumbnailArguments(const QString& source, const QString& programFolder);

// The fixed thumbnail file in the program folder.
QString ThumbnailPath(const QString& programFolder);
