#include "platform/FileChecks.h"

#include <QFile>
#include <sys/stat.h>

namespace
{
bool statPath(const QString& path, struct stat& info)
{
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}
} // namespace

qint64 FileSizeOf(const QString& path)
{
    struct stat info {
    };
    return statPath(path, info) && S_ISREG(info.st_mode) ? static_cast<qint64>(info.st_size) : -1;
}

bool IsSameFile(const QString& a, const QString& b)
{
    struct stat first {
    }, second{};
    return statPath(a, first) && statPath(b, second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

std::optional<QPair<quint64, quint64>> FileIdentity(const QString& path)
{
    struct stat info {
    };
    if (!statPath(path, info))
        return std::nullopt;
    return qMakePair(quint64(info.st_dev), quint64(info.st_ino));
}
