#include "tests/support/Media.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace
{
QByteArray run(const QString& program, const QStringList& arguments, bool* ok)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    // However long a loaded machine takes to encode: ctest's own limit stops a hung tool.
    *ok = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    return process.readAllStandardOutput();
}
} // namespace

QString MakeClip(const QString& folder, const ClipSpec& spec)
{
    const QString path = folder + u'/' + spec.FileName;
    const QString size = QStringLiteral("%1x%2").arg(spec.Size.width()).arg(spec.Size.height());
    const QString duration = QString::number(spec.Seconds);
    QStringList arguments{
        QStringLiteral("-v"),
        QStringLiteral("error"),
        QStringLiteral("-y"),
        QStringLiteral("-f"),
        QStringLiteral("lavfi"),
        QStringLiteral("-i"),
        QStringLiteral("testsrc=size=%1:rate=%2:duration=%3").arg(size).arg(spec.Fps).arg(duration)};
    if (spec.Audio)
        arguments << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
                  << QStringLiteral("sine=frequency=440:sample_rate=22050:duration=%1").arg(duration);
    arguments << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p") << spec.VideoOptions << path;
    bool ok = false;
    run(QStringLiteral("ffmpeg"), arguments, &ok);
    return ok && QFile::exists(path) ? path : QString();
}

QString MakeBroadcastRecording(const QString& folder, const QString& name, const QStringList& options)
{
    const QString path = folder + u'/' + name;
    bool ok = false;
    run(QStringLiteral("python3"),
        QStringList{QStringLiteral(KORUMI_TEST_SUPPORT_DIR "/broadcast_recording.py"), path} + options, &ok);
    return ok && QFile::exists(path) ? path : QString();
}

QJsonObject Probe(const QString& path)
{
    bool ok = false;
    const QByteArray json =
        run(QStringLiteral("ffprobe"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-print_format"),
             QStringLiteral("json"), QStringLiteral("-show_streams"), QStringLiteral("-show_format"), path},
            &ok);
    return ok ? QJsonDocument::fromJson(json).object() : QJsonObject();
}

QJsonObject StreamOf(const QJsonObject& probe, const QString& type)
{
    for (const QJsonValue& stream : probe.value(QStringLiteral("streams")).toArray())
        if (stream.toObject().value(QStringLiteral("codec_type")).toString() == type)
            return stream.toObject();
    return {};
}

bool ProcessRunningWith(const QString& needle)
{
    const QByteArray wanted = needle.toUtf8();
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(wanted))
            return true;
    }
    return false;
}

QStringList TemporaryOutputsOf(const QString& target)
{
    const QFileInfo info(target);
    return QDir(info.path())
        .entryList({u'.' + info.fileName() + QStringLiteral(".korumi-tmp-*")}, QDir::Files | QDir::Hidden);
}

bool IsBeingEncoded(const QString& target)
{
    const QStringList temporary = TemporaryOutputsOf(target);
    return std::any_of(temporary.begin(), temporary.end(), [&](const QString& name) {
        return QFileInfo(QFileInfo(target).path() + u'/' + name).size() > 0;
    });
}
