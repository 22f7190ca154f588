#pragma once

#include <QString>
#include <optional>

// How the fields of a preset line become control values.

// A whole number: optional leading spaces, an optional sign, then digits and nothing after.
// Raises EConvertError naming `text` otherwise.
int StrToInt(const QString& text);

// The whole number written before the first `unit` in `field` ("30" in "30fps"); what follows
// the unit is ignored. A field without the unit, or starting with it, holds the empty text and
// so raises EConvertError.
int NumberBeforeUnit(const QString& field, const QString& unit);

// The picture-size index of "640x480", "720x480", "960x540" or "1280x720", matched exactly.
std::optional<int> PictureSizeIndex(const QString& field);

// The sample-rate index of 48000, 44100, 22050, 11025 or 8000 Hz.
std::optional<int> SampleRateIndex(int hertz);
