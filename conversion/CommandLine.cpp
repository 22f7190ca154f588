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

namespace
{

// The words between source and target for one pass.
QStringList wordsBetween(int pass, const ConversionSettings& settings)
{
    const bool firstOfTwo = settings.TwoPass && pass == 1;
    QStringList words{QStringLiteral("-y")};
    if (settings.TwoPass)
        words << QStringLiteral("-pass") << QString::number(pass);
    if (firstOfTwo)
        words << QStringLiteral("-an");
    words << QStringLiteral("-flags") << QStringLiteral("bitexact");
    if (inRange(PictureSizes, settings.PictureSizeIndex)) {
        const PictureSize& size = PictureSizes[settings.PictureSizeIndex];
        words << QStringLiteral("-s") << QString::fromLatin1(size.Size);
        words << QStringLiteral("-aspect") << QString::fromLatin1(size.Aspect);
    }
    words << QStringLiteral("-vcodec") << settings.VideoCodec.toLower();
    words << QStringLiteral("-b") << QString::number(settings.VideoBitRate) + u'k';
    words << QStringLiteral("-r") << QString::number(settings.FrameRate);
    words << QStringLiteral("-acodec") << QStringLiteral("libfaac");
    words << QStringLiteral("-ab") << QString::number(settings.AudioBitRate) + u'k';
    if (inRange(SampleRates, settings.SampleRateIndex))
        words << QStringLiteral("-ar") << QString::number(SampleRates[settings.SampleRateIndex]);
    if (firstOfTwo)
        words << QStringLiteral("-an");
    return words;
}

} // namespace

ConversionCommands::ConversionCommands(const ConversionSettings& settings)
    : m_between{wordsBetween(1, settings), wordsBetween(2, settings)}
{
}

Command ConversionCommands::For(const QString& source, const QString& target, int pass) const
{
    Command command(EncoderProgram);
    command.Add(QStringLiteral("-i")).AddPath(source).Add(m_between[pass == 2 ? 1 : 0]).AddPath(target);
    return command;
}

Command ConversionCommand(const QString& source, const QString& target, int pass,
                          const ConversionSettings& settings)
{
    return ConversionCommands(settings).For(source, target, pass);
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
