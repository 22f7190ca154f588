#include "conversion/CommandLine.h"

#include <gtest/gtest.h>

namespace
{

ConversionSettings exampleSettings(bool twoPass = false)
{
    ConversionSettings settings;
    settings.PictureSizeIndex = 1;
    settings.VideoCodec = QStringLiteral("LIBX264");
    settings.VideoBitRate = 2048;
    settings.FrameRate = 30;
    settings.AudioBitRate = 128;
    settings.SampleRateIndex = 1;
    settings.TwoPass = twoPass;
    settings.OutputFolder = QStringLiteral("/out");
    return settings;
}

const QString Clip = QStringLiteral("/videos/clip.avi");
const QString Target = QStringLiteral("/out/clip.mp4");

TEST(ConversionCommand, SinglePassMatchesTheDocumentedLine)
{
    EXPECT_EQ(ConversionCommand(Clip, Target, 1, exampleSettings()).Text(),
              "ffmpeg.exe -i \"/videos/clip.avi\" -y -flags bitexact -s 720x480 -aspect 16:9 -vcodec libx264 "
              "-b 2048k -r 30 -acodec libfaac -ab 128k -ar 44100 \"/out/clip.mp4\"");
}

TEST(ConversionCommand, TwoPassFirstPassDropsAudioTwice)
{
    EXPECT_EQ(ConversionCommand(Clip, Target, 1, exampleSettings(true)).Text(),
              "ffmpeg.exe -i \"/videos/clip.avi\" -y -pass 1 -an -flags bitexact -s 720x480 -aspect 16:9 "
              "-vcodec libx264 -b 2048k -r 30 -acodec libfaac -ab 128k -ar 44100 -an \"/out/clip.mp4\"");
}

TEST(ConversionCommand, TwoPassSecondPassKeepsAudio)
{
    EXPECT_EQ(ConversionCommand(Clip, Target, 2, exampleSettings(true)).Text(),
              "ffmpeg.exe -i \"/videos/clip.avi\" -y -pass 2 -flags bitexact -s 720x480 -aspect 16:9 "
              "-vcodec libx264 -b 2048k -r 30 -acodec libfaac -ab 128k -ar 44100 \"/out/clip.mp4\"");
}

TEST(ConversionCommand, ArgumentListKeepsEachPathWhole)
{
    const QString awkward = QStringLiteral("/v/-x $HOME \"q\"\nビデオ.avi");
    const QString awkwardTarget = QStringLiteral("/out/-x $HOME \"q\"\nビデオ.mp4");
    const Command command = ConversionCommand(awkward, awkwardTarget, 1, exampleSettings());
    EXPECT_EQ(command.Program(), "ffmpeg.exe");
    EXPECT_EQ(command.Arguments().at(1), awkward);
    EXPECT_EQ(command.Arguments().last(), awkwardTarget);
}

TEST(ConversionCommand, OutOfRangeIndexesAddNothing)
{
    ConversionSettings settings = exampleSettings();
    settings.PictureSizeIndex = 4;
    settings.SampleRateIndex = -1;
    const QString text = ConversionCommand(Clip, Target, 1, settings).Text();
    EXPECT_FALSE(text.contains(QStringLiteral(" -s ")));
    EXPECT_FALSE(text.contains(QStringLiteral("-aspect")));
    EXPECT_FALSE(text.contains(QStringLiteral("-ar")));
    EXPECT_TRUE(text.contains(QStringLiteral("-ab 128k \"/out/clip.mp4\"")));
}

TEST(ConversionCommand, SizeTableAndCodecText)
{
    ConversionSettings settings = exampleSettings();
    const char* expected[] = {"-s 640x480 -aspect 4:3", "-s 720x480 -aspect 16:9", "-s 960x540 -aspect 16:9",
                              "-s 1280x720 -aspect 16:9"};
    for (int i = 0; i < 4; ++i) {
        settings.PictureSizeIndex = i;
        EXPECT_TRUE(
            ConversionCommand(Clip, Target, 1, settings).Text().contains(QString::fromLatin1(expected[i])))
            << i;
    }
    const char* rates[] = {"-ar 48000", "-ar 44100", "-ar 22050", "-ar 11025", "-ar 8000"};
    for (int i = 0; i < 5; ++i) {
        settings.SampleRateIndex = i;
        EXPECT_TRUE(
            ConversionCommand(Clip, Target, 1, settings).Text().contains(QString::fromLatin1(rates[i])))
            << i;
    }
    settings.VideoCodec = QStringLiteral("MPEG4");
    EXPECT_TRUE(
        ConversionCommand(Clip, Target, 1, settings).Text().contains(QStringLiteral("-vcodec mpeg4 ")));
}

TEST(ConversionCommand, SinglePassHasNoPassOrSilence)
{
    const QString text = ConversionCommand(Clip, Target, 1, exampleSettings()).Text();
    EXPECT_FALSE(text.contains(QStringLiteral("-pass")));
    EXPECT_FALSE(text.contains(QStringLiteral("-an")));
}

struct TargetCase {
    const char* source;
    const char* folder;
    const char* target;
};

class TargetPath : public ::testing::TestWithParam<TargetCase>
{
};

TEST_P(TargetPath, ReplacesOnlyTheFileNamesLastExtension)
{
    const TargetCase& c = GetParam();
    EXPECT_EQ(TargetPathFor(QString::fromUtf8(c.source), QString::fromUtf8(c.folder)),
              QString::fromUtf8(c.target));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TargetPath,
    ::testing::Values(TargetCase{"/videos/clip.avi", "/out", "/out/clip.mp4"},
                      TargetCase{"/a.b/movie", "/out", "/out/movie.mp4"},         // dot only in the folder
                      TargetCase{"/v/clip.tar.avi", "/out", "/out/clip.tar.mp4"}, // last extension only
                      TargetCase{"/v/clip.mp4", "/v", "/v/clip.mp4"},             // equals the source
                      TargetCase{"/videos/clip.avi", "/", "/clip.mp4"},           // root folder
                      TargetCase{"/videos/clip.avi", "", "/clip.mp4"},            // empty folder
                      TargetCase{"/v/.hidden", "/out", "/out/.mp4"},
                      TargetCase{"/v/映像.wmv", "/出力", "/出力/映像.mp4"}));

TEST(Thumbnail, ArgumentsAndPath)
{
    const Command thumb = ThumbnailArguments(Clip, QStringLiteral("/tools/korumi"));
    EXPECT_EQ(thumb.Program(), "ffmpeg.exe");
    EXPECT_EQ(thumb.ArgumentText(),
              "-i \"/videos/clip.avi\" -f image2 -ss 5 -vframes 1 -s 80x60 -an \"/tools/korumi/_thumb.jpg\"");
    EXPECT_EQ(ThumbnailPath(QStringLiteral("/")), "/_thumb.jpg");
}

} // namespace
