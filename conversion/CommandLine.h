#pragma once

#include "conversion/Command.h"
#include "settings/ConversionSettings.h"

// The name under which the encoder front is run.
inline const QString EncoderProgram = QStringLiteral("ffmpeg.exe");

// The front's exit status when it cannot run ffmpeg itself; every file would fail the same way.
constexpr int FfmpegMissingStatus = KORUMI_FFMPEG_MISSING_STATUS;

// The output file for `source`: the output folder + the source's file name with ".mp4".
QString TargetPathFor(const QString& source, const QString& outputFolder);

// The conversion commands of a run: the words that come from the settings are made once, and each
// file's command puts its source and target in their places.
class ConversionCommands
{
public:
    explicit ConversionCommands(const ConversionSettings& settings);
    // The command for one pass (1 or 2; always 1 when two-pass is off), writing `target`.
    Command For(const QString& source, const QString& target, int pass) const;

private:
    QStringList m_between[2]; // each pass's words between the source and the target
};

// ConversionCommands(settings).For(source, target, pass), for a single command.
Command ConversionCommand(const QString& source, const QString& target, int pass,
                          const ConversionSettings& settings);

// The command that grabs one 80x60 picture of `source` into ThumbnailPath(folder).
Command ThumbnailArguments(const QString& source, const QString& folder);

// The thumbnail file in `folder`, a folder of the running process's own.
QString ThumbnailPath(const QString& folder);
