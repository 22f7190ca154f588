#include "conversion/CommandLine.h"

#include "platform/Paths.h"
#include "settings/EncodingTables.h"

namespace
{

template <typename Table> bool inRange(const Table& table, int index)
{
    return index >= 0 && index < static_cast<int>(table.size());
}

} // namespace

QString TargetPathFor(const QString& source, const QString& outputFolder)
{
    return Paths::Join(outputFolder,
                       Paths::ChangeFileExt(Paths::ExtractFileName(source), QStringLiteral(".mp4")));
}

Command ConversionCommand(const QString& source, const QString& target, int pass,
                          const ConversionSettings& settings)
{
    const bool firstOfTwo = settings.TwoPass && pass == 1;
    Command command(EncoderProgram);
    command.Add(QStringLiteral("-i")).AddPath(source).Add(QStringLiteral("-y"));
    if (settings.TwoPass)
        command.Add(QStringLiteral("-pass")).Add(QString::number(pass));
    if (firstOfTwo)
        command.Add(QStringLiteral("-an"));
    command.Add(QStringLiteral("-flags")).Add(QStringLiteral("bitexact"));
    if (inRange(PictureSizes, settings.PictureSizeIndex)) {
        const PictureSize& size = PictureSizes[settings.PictureSizeIndex];
        command.Add(QStringLiteral("-s")).Add(QString::fromLatin1(size.Size));
        command.Add(QStringLiteral("-aspect")).Add(QString::fromLatin1(size.Aspect));
    }
    command.Add(QStringLiteral("-vcodec")).Add(settings.VideoCodec.toLower());
    command.Add(QStringLiteral("-b")).Add(QString::number(settings.VideoBitRate) + u'k');
    command.Add(QStringLiteral("-r")).Add(QString::number(settings.FrameRate));
    command.Add(QStringLiteral("-acodec")).Add(QStringLiteral("libfaac"));
    command.Add(QStringLiteral("-ab")).Add(QString::number(settings.AudioBitRate) + u'k');
    if (inRange(SampleRates, settings.SampleRateIndex))
        command.Add(QStringLiteral("-ar")).Add(QString::number(SampleRates[settings.SampleRateIndex]));
    if (firstOfTwo)
        command.Add(QStringLiteral("-an"));
    command.AddPath(target);
    return command;
}

Command ThumbnailArguments(const QString& source, const QString& folder)
{
    Command command(EncoderProgram);
    command.Add(QStringLiteral("-i")).AddPath(source);
    for (const char* word : {"-f", "image2", "-ss", "5", "-vframes", "1", "-s", "80x60", "-an"})
        command.Add(QString::fromLatin1(word));
    command.AddPath(ThumbnailPath(folder));
    return command;
}

QString ThumbnailPath(const QString& folder)
{
    return Paths::Join(folder, QStringLiteral("_thumb.jpg"));
}
