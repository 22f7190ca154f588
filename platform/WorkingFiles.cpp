#include "platform/WorkingFiles.h"

#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace WorkingFiles
{

namespace
{

const QString LockSuffix = QStringLiteral(".korumi-lock");
const QString TempMarker = QStringLiteral(".korumi-tmp-");
constexpr long CommonNameLimit = 255;
constexpr int FingerprintDigits = 16;

// FNV-1a: the same in every run and on every machine, which qHash does not promise.
QByteArray fingerprint(const QByteArray& bytes)
{
    quint64 hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return QByteArray::number(hash, 16).rightJustified(FingerprintDigits, '0');
}

// `name` cut to at most `length` bytes, never inside a UTF-8 character.
QByteArray cutToLength(const QByteArray& name, qsizetype length)
{
    while (length > 0 && length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
        --length;
    return name.left(std::max<qsizetype>(length, 0));
}

} // namespace

QString LockPathFor(const QString& target)
{
    const QFileInfo info(target);
    const QByteArray name = QFile::encodeName(info.fileName());
    const QByteArray plain = '.' + name + LockSuffix.toLatin1();
    const long limit = pathconf(QFile::encodeName(info.path()).constData(), _PC_NAME_MAX);
    const qsizetype room = limit > 0 ? limit : CommonNameLimit;
    if (plain.size() <= room)
        return Paths::Join(info.path(), QFile::decodeName(plain));
    const qsizetype kept = room - (plain.size() - name.size()) - 1 - FingerprintDigits;
    const QByteArray cut = '.' + cutToLength(name, kept) + '~' + fingerprint(name) + LockSuffix.toLatin1();
    return Paths::Join(info.path(), QFile::decodeName(cut));
}

bool IsLockFile(const QString& name)
{
    return name.startsWith(u'.') && name.endsWith(LockSuffix);
}

bool IsWorkingFile(const QString& name)
{
    return IsLockFile(name) || (name.startsWith(u'.') && name.contains(TempMarker));
}

} // namespace WorkingFiles
