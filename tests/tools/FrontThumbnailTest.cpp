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
};

void PrintTo(const ThumbnailCase& c, std::ostream* out)
{
    *out << c.name;
}

ProgramRun grab(const QString& source, const QString& programFolder)
{
    return RunProgram(FrontProgram(), ThumbnailArguments(source, programFolder).Arguments(), programFolder);
}

class FrontThumbnail : public ::testing::TestWithParam<ThumbnailCase>
{
};

TEST_P(FrontThumbnail, WritesOne80x60Jpeg)
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

    const ProgramRun run = grab(source, programFolder);

    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QString thumbnail = ThumbnailPath(programFolder);
    EXPECT_EQ(DecodeJpeg(ReadBytes(thumbnail)).size(), ThumbnailSize);
    EXPECT_EQ(Entries(programFolder), QStringList{QStringLiteral("_thumb.jpg")});
}

INSTANTIATE_TEST_SUITE_P(
    Clips, FrontThumbnail,
    ::testing::Values(ThumbnailCase{"LongAvi", "clip.avi", 7, true, {160, 120}},
                      ThumbnailCase{"ThreeSecondMkv", "clip.mkv", 3, true, {160, 120}},
                      ThumbnailCase{"ExactlyFiveSecondSilentMov", "clip.mov", 5, false, {320, 240}},
                      ThumbnailCase{"OneSecondAvi", "clip.avi", 1, false, {160, 120}},
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
