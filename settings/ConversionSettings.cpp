#include "settings/ConversionSettings.h"

ConversionSettings ConversionSettings::Clamped() const
{
    ConversionSettings clamped = *this;
    clamped.FrameRate = Ranges::FrameRate.Clamped(FrameRate);
    clamped.VideoBitRate = Ranges::VideoBitRate.Clamped(VideoBitRate);
    clamped.SampleRateIndex = Ranges::SampleRateIndex.Clamped(SampleRateIndex);
    clamped.AudioBitRate = Ranges::AudioBitRate.Clamped(AudioBitRate);
    clamped.PictureSizeIndex = Ranges::PictureSizeIndex.Clamped(PictureSizeIndex);
    return clamped;
}
