#pragma once

#include "conversion/Command.h"
#include "settings/ConversionSettings.h"

// The name under which the encoder front is run.
inline const QString EncoderProgram = QStringLiteral("ffmpeg.exe");

// The front's exit status when it cannot run ffmpeg itself; every file would fail the same way.
constexpr int FfmpegMissingStatus = KORUMI_FFMPEG_MISSING_STATUS;

// The output file for `source`: the output folder + the source's file name with ".mp4".
QString TargetPathFor(const QString& source, const QString& outputFolder);

// The conversion command for one pass (1 or 2; always 1 when two-pass is off), writing `target`.
Command ConversionCommand(const QString& source, const QString& target, int pass,
                          const ConversionSettings& settings);

// The command that grabs one 80x60 picture of `source` into ThumbnailPath(folder).
Command ThumbnailArguments(const QString& source, const QString& folder);

// The thumbnail file in `folder`, a folder of the running process's own.
QString ThumbnailPath(const QString& folder);
