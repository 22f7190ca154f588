#include "tests/conversion/BatchFixture.h"

#include <QFile>
#include <QTest>

namespace
{

// Logs "name arguments..." (one argument per tab) and, as an encoder, writes its target, but no
// thumbnail: the run would rightly refuse a picture that is not one. A pass starts its thumbnail
// grab before its encoder and ends the grab with it, so the encoder ends only once the grab of its
// pass has logged. A source whose name holds "broken" makes the encoder fail. Each call also logs
// its scheduling policy (3: batch) to policies.log.
const char* RecorderScript = R"script(#!/bin/sh
log="$(dirname "$0")/calls.log"
name=$(basename "$0")
line="$name"
for argument in "$@"; do line="$line	$argument"; done
echo "$line" >> "$log"
cut -d' ' -f41 /proc/$$/stat >> "$(dirname "$0")/policies.log"
if [ "$name" = ffmpeg.exe ] && [ "$3" != -f ]; then
    for last in "$@"; do :; done
    for _ in $(seq 600); do
        [ "$(grep -cF "ffmpeg.exe	-i	$2	-f	" "$log")" -ge "$(grep -cF "ffmpeg.exe	-i	$2	-y	" "$log")" ] && break
        sleep 0.1
    done
    printf 'output' > "$last"
    case "$2" in *broken*) exit 3;; esac
fi
)script";

void link(const QString& from, const QString& to)
{
    QFile::link(from, to);
}

} // namespace

BatchFixture::BatchFixture()
{
    settings.VideoCodec = QStringLiteral("LIBX264");
    settings.OutputFolder = outputRoot.File(QStringLiteral("out"));
}

void BatchFixture::UseBuiltTools() const
{
    for (const char* tool : {"ffmpeg.exe", "addfile.exe"})
        link(BuiltProgramFolder() + u'/' + QLatin1String(tool), programDir.File(QLatin1String(tool)));
}

void BatchFixture::UseRecordingTools() const
{
    for (const char* tool : {"ffmpeg.exe", "addfile.exe"}) {
        const QString path = programDir.Write(QLatin1String(tool), RecorderScript);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

QStringList BatchFixture::Log() const
{
    QFile log(programDir.File(QStringLiteral("calls.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void BatchFixture::Prepare(const QStringList& files, bool itunes, bool dryRun)
{
    BatchJob job{files, programDir.Path(), itunes ? RunMode::SaveAndRegister : RunMode::Save, dryRun};
    job.ThumbnailFolder = thumbnailDir.Path();
    run = std::make_unique<BatchRun>(
        job, [this] { return settings; }, view);
    QObject::connect(run.get(), &BatchRun::PassStarted, run.get(), [this](const PassStart& pass) {
        passFractions << view.Progress.Fraction;
        commands << pass.Conversion.Text();
    });
}

BatchResult BatchFixture::StartAndWait()
{
    QSignalSpy finished(run.get(), &BatchRun::Finished);
    run->Start();
    if (finished.isEmpty())
        finished.wait(180000);
    EXPECT_EQ(finished.size(), 1);
    return finished.isEmpty() ? BatchResult{} : finished.first().first().value<BatchResult>();
}

BatchResult BatchFixture::Run(const QStringList& files, bool itunes, bool dryRun)
{
    Prepare(files, itunes, dryRun);
    return StartAndWait();
}
