// The libjpeg thumbnail decoder on good, cut-short, empty and garbage data.
#include "platform/JpegImage.h"
#include "tests/support/TempDir.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace
{

constexpr int ProcessTimeoutMs = 60000;
constexpr int Tolerance = 24; // JPEG is lossy: colours come back near, not exact

// A JPEG picture of the lavfi `source` made by ffmpeg, read back as bytes.
QByteArray ffmpegJpeg(const QString& source, const QString& pixelFormat = QStringLiteral("yuvj420p"))
{
    TempDir temp;
    const QString path = temp.File(QStringLiteral("picture.jpg"));
    QProcess ffmpeg;
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-f", "lavfi", "-i", source, "-frames:v", "1",
                                            "-pix_fmt", pixelFormat, "-update", "1", path});
    ffmpeg.waitForFinished(ProcessTimeoutMs);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray testPattern()
{
    return ffmpegJpeg(QStringLiteral("testsrc=size=320x240"));
}

bool near(QRgb pixel, QColor expected)
{
    return std::abs(qRed(pixel) - expected.red()) <= Tolerance &&
           std::abs(qGreen(pixel) - expected.green()) <= Tolerance &&
           std::abs(qBlue(pixel) - expected.blue()) <= Tolerance;
}

struct GoodCase {
    const char* name;
    const char* source;
    const char* pixelFormat;
    QSize size;
    QColor colour;
};

void PrintTo(const GoodCase& c, std::ostream* out)
{
    *out << c.name;
}

class GoodJpeg : public ::testing::TestWithParam<GoodCase>
{
};

TEST_P(GoodJpeg, DecodesToItsSizeAndColour)
{
    const QByteArray bytes =
        ffmpegJpeg(QString::fromLatin1(GetParam().source), QString::fromLatin1(GetParam().pixelFormat));
    ASSERT_FALSE(bytes.isEmpty());
    const QImage image = DecodeJpeg(bytes);
    EXPECT_EQ(image.size(), GetParam().size);
    EXPECT_TRUE(near(image.pixel(image.width() / 2, image.height() / 2), GetParam().colour));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, GoodJpeg,
    ::testing::Values(GoodCase{"Thumbnail", "color=c=red:size=80x60", "yuvj420p", {80, 60}, Qt::red},
                      GoodCase{"OddSizeFullChroma",
                               "color=c=0x2050C0:size=40x20,format=yuvj444p,crop=33:17:0:0",
                               "yuvj444p",
                               {33, 17},
                               QColor(0x20, 0x50, 0xC0)},
                      GoodCase{
                          "Grey", "color=c=gray:size=64x48", "gray", {64, 48}, QColor(0x80, 0x80, 0x80)}));

TEST(JpegImage, DecodesProgressiveFiles)
{
    QImage picture(96, 64, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    if (!writer.write(picture))
        GTEST_SKIP() << "no JPEG writer to make a progressive file with";

    const QImage image = DecodeJpeg(buffer.data());
    EXPECT_EQ(image.size(), picture.size());
    EXPECT_TRUE(near(image.pixel(10, 10), Qt::blue));
}

class CutShortJpeg : public ::testing::TestWithParam<double>
{
};

// What could be decoded, at full size, or an error: never a crash.
TEST_P(CutShortJpeg, YieldsThePictureOrAnError)
{
    const QByteArray whole = testPattern();
    ASSERT_FALSE(whole.isEmpty());
    const QByteArray cut = whole.left(int(whole.size() * GetParam()));
    try {
        EXPECT_EQ(DecodeJpeg(cut).size(), QSize(320, 240));
    } catch (const EJpegError&) {
        SUCCEED();
    }
}

INSTANTIATE_TEST_SUITE_P(Fractions, CutShortJpeg, ::testing::Values(0.001, 0.05, 0.2, 0.5, 0.9, 0.999));

TEST(JpegImage, PictureCutInItsDataKeepsTheDecodedRows)
{
    const QByteArray whole = testPattern();
    const QImage full = DecodeJpeg(whole);
    const QImage cut = DecodeJpeg(whole.left(whole.size() * 3 / 4));
    ASSERT_EQ(cut.size(), full.size());
    EXPECT_EQ(cut.copy(0, 0, 320, 16), full.copy(0, 0, 320, 16));
}

struct GarbageCase {
    const char* name;
    QByteArray bytes;
};

void PrintTo(const GarbageCase& c, std::ostream* out)
{
    *out << c.name;
}

class NotAJpeg : public ::testing::TestWithParam<GarbageCase>
{
};

TEST_P(NotAJpeg, RaisesTheJpegError)
{
    EXPECT_THROW(DecodeJpeg(GetParam().bytes), EJpegError);
}

QByteArray randomBytes()
{
    QRandomGenerator generator(20240611);
    QByteArray bytes(4096, '\0');
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Data, NotAJpeg,
    ::testing::Values(GarbageCase{"Empty", QByteArray()}, GarbageCase{"Random", randomBytes()},
                      GarbageCase{"Text", QByteArray("this is not a picture\n")},
                      GarbageCase{"Png", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452")},
                      GarbageCase{"StartMarkerThenZeros",
                                  QByteArray::fromHex("ffd8") + QByteArray(1000, '\0')},
                      GarbageCase{"StartMarkerOnly", QByteArray::fromHex("ffd8")}));

TEST(JpegImage, RefusesAHugePictureBeforeAllocatingIt)
{
    QByteArray bytes = ffmpegJpeg(QStringLiteral("color=c=red:size=80x60"));
    // Baseline frame header: FF C0, length, precision, then height and width.
    const int frame = bytes.indexOf(QByteArray::fromHex("ffc0"));
    ASSERT_GT(frame, 0);
    // 20000 x 20000: within what libjpeg and QImage would take on, 1.2 GB for nothing.
    bytes.replace(frame + 5, 4, QByteArray::fromHex("4e204e20"));
    EXPECT_THROW(DecodeJpeg(bytes), EJpegError);
}

} // namespace
