// The encoder front on Korumi's thumbnail command: one 80x60 JPEG, whole or not at all.
#include "conversion/CommandLine.h"
#include "platform/JpegImage.h"
#include "tests/support/Media.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"

#include <QFile>

#include <gtest/gtest.h>

namespace
{

constexpr QSize ThumbnailSize(80, 60);

struct ThumbnailCase {
    const char* name;
    const char* sourceName;
    double seconds;
    bool audio;
    QSize size;
    int scale = 1; // pixels to a point of the screen that shows it
};

void PrintTo(const ThumbnailCase& c, std::ostream* out)
{
    *out << c.name;
}

ProgramRun grab(const QString& source, const QString& programFolder, int scale = 1)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KORUMI_PICTURE_SCALE", QString::number(scale));
    return RunProgram(FrontProgram(), ThumbnailArguments(source, programFolder).Arguments(), programFolder,
                      environment);
}

// The mean grey of the columns from `left` to `right` (shares of the width) of `picture`.
double meanGrey(const QImage& picture, double left, double right)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = int(left * picture.width()); x < int(right * picture.width()); ++x, ++count)
            sum += qGray(picture.pixel(x, y));
    }
    return count > 0 ? sum / count : 0;
}

class FrontThumbnail : public ::testing::TestWithParam<ThumbnailCase>
{
};

TEST_P(FrontThumbnail, WritesOneJpegOfTheClipsPictureInItsTrueProportions)
{
    TempDir temp;
    ClipSpec spec;
    spec.FileName = QString::fromUtf8(GetParam().sourceName);
    spec.Seconds = GetParam().seconds;
    spec.Audio = GetParam().audio;
    spec.Size = GetParam().size;
    const QString source = MakeClip(temp.MakeDir(QStringLiteral("in")), spec);
    ASSERT_FALSE(source.isEmpty());
    const QString programFolder = temp.MakeDir(QStringLiteral("program"));

    const ProgramRun run = grab(source, programFolder, GetParam().scale);

    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QImage picture = DecodeJpeg(ReadBytes(ThumbnailPath(programFolder)));
    EXPECT_EQ(picture.size(), ThumbnailSize * GetParam().scale);
    EXPECT_GT(meanGrey(picture, 0.4, 0.6), 40) << "a picture from inside the clip";
    // A portrait clip stands between black bars, not squeezed to the box's width.
    const bool portrait = spec.Size.height() > spec.Size.width();
    EXPECT_EQ(meanGrey(picture, 0, 0.1) < 20, portrait);
    EXPECT_EQ(Entries(programFolder), QStringList{QStringLiteral("_thumb.jpg")});
}

INSTANTIATE_TEST_SUITE_P(
    Clips, FrontThumbnail,
    ::testing::Values(ThumbnailCase{"LongAvi", "clip.avi", 7, true, {160, 120}},
                      ThumbnailCase{"ThreeSecondMkv", "clip.mkv", 3, true, {160, 120}},
                      ThumbnailCase{"ExactlyFiveSecondSilentMov", "clip.mov", 5, false, {320, 240}},
                      ThumbnailCase{"OneSecondAvi", "clip.avi", 1, false, {160, 120}},
                      ThumbnailCase{
                          "PortraitPhoneClipOnADoubleDensityScreen", "clip.mp4", 4, false, {180, 320}, 2},
                      ThumbnailCase{"AwkwardName", "-a \"q\" $HOME\nサムネイル 1.avi", 6, true, {160, 120}}),
    [](const ::testing::TestParamInfo<ThumbnailCase>& info) { return std::string(info.param.name); });

TEST(FrontThumbnail, FailedGrabLeavesTheOldPictureAndNoTemporaryFile)
{
    TempDir temp;
    const QString programFolder = temp.MakeDir(QStringLiteral("program"));
    const QByteArray old("an older picture");
    temp.Write(QStringLiteral("program/_thumb.jpg"), old);

    const ProgramRun run = grab(temp.File(QStringLiteral("missing.avi")), programFolder);

    EXPECT_NE(run.ExitCode, 0);
    QFile thumbnail(ThumbnailPath(programFolder));
    ASSERT_TRUE(thumbnail.open(QIODevice::ReadOnly));
    EXPECT_EQ(thumbnail.readAll(), old);
    EXPECT_EQ(Entries(programFolder), QStringList{QStringLiteral("_thumb.jpg")});
}

TEST(FrontThumbnail, SourceWithoutPicturesIsAFailure)
{
    TempDir temp;
    const QString source = temp.File(QStringLiteral("tone.wav"));
    const ProgramRun made =
        RunProgram(QStringLiteral("ffmpeg"), {"-v", "error", "-f", "lavfi", "-i", "sine=duration=1", source});
    ASSERT_EQ(made.ExitCode, 0);
    const QString programFolder = temp.MakeDir(QStringLiteral("program"));

    const ProgramRun run = grab(source, programFolder);

    EXPECT_NE(run.ExitCode, 0);
    EXPECT_TRUE(Entries(programFolder).isEmpty());
}

} // namespace
