#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempDir::TempDir() : m_path(QFileInfo(m_dir.path()).canonicalFilePath()) {}

QString TempDir::File(const QString& relative) const
{
    return m_path + u'/' + relative;
}

QString TempDir::Write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = File(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QString TempDir::MakeDir(const QString& relative) const
{
    const QString path = File(relative);
    QDir().mkpath(path);
    return path;
}

QString BuiltProgramFolder()
{
    const QString fromEnvironment = QString::fromLocal8Bit(qgetenv("KORUMI_PROGRAM_DIR"));
    return fromEnvironment.isEmpty() ? QStringLiteral(KORUMI_BUILT_PROGRAM_DIR) : fromEnvironment;
}

ProgramDir::ProgramDir()
{
    QFile::copy(BuiltProgramFolder() + QStringLiteral("/profile.txt"), File(QStringLiteral("profile.txt")));
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
