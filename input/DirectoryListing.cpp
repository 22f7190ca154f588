#include "input/DirectoryListing.h"

#include "platform/Paths.h"
#include "platform/Printable.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>

namespace
{

constexpr unsigned StatFields = STATX_TYPE | STATX_MODE | STATX_SIZE;

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Status of `name` in `folderFd`; a link is followed when its target can be read.
bool readStatus(int folderFd, const char* name, struct statx& status)
{
    constexpr int flags = AT_NO_AUTOMOUNT | AT_STATX_SYNC_AS_STAT;
    if (statx(folderFd, name, flags | AT_SYMLINK_NOFOLLOW, StatFields, &status) != 0)
        return false;
    if (S_ISLNK(status.stx_mode)) {
        struct statx target;
        if (statx(folderFd, name, flags, StatFields, &target) == 0)
            status = target;
    }
    return true;
}

TSearchFileData namedRecord(const QString& fileName)
{
    TSearchFileData data;
    data.FileName = fileName;
    data.ShortName = fileName;
    data.IsHidden = fileName.startsWith(u'.');
    return data;
}

std::optional<TSearchFileData> dataOf(int folderFd, const char* name, const QString& fileName)
{
    struct statx status;
    if (!readStatus(folderFd, name, status))
        return std::nullopt;
    TSearchFileData data = namedRecord(fileName);
    data.IsDirectory = S_ISDIR(status.stx_mode);
    data.IsRegularFile = S_ISREG(status.stx_mode);
    data.IsReadOnly = (status.stx_mode & S_IWUSR) == 0;
    data.Size = data.IsDirectory ? 0 : static_cast<qint64>(status.stx_size);
    return data;
}

} // namespace

DirectoryListing::DirectoryListing(const QString& folder)
    : m_dir(opendir(QFile::encodeName(folder).constData()))
{
}

DirectoryListing::~DirectoryListing()
{
    if (m_dir)
        closedir(m_dir);
}

bool DirectoryListing::Next()
{
    if (!m_dir)
        return false;
    do
        m_entry = readdir(m_dir);
    while (m_entry && isDotOrDotDot(m_entry->d_name));
    m_nameDecoded = false;
    return m_entry != nullptr;
}

const QString& DirectoryListing::Name() const
{
    if (!m_nameDecoded)
        m_name = QFile::decodeName(m_entry->d_name);
    m_nameDecoded = true;
    return m_name;
}

bool DirectoryListing::NameIsText() const
{
    return IsUtf8(QByteArrayView(m_entry->d_name));
}

bool DirectoryListing::IsLink() const
{
    if (m_entry->d_type != DT_UNKNOWN)
        return m_entry->d_type == DT_LNK;
    struct stat status;
    return fstatat(dirfd(m_dir), m_entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(status.st_mode);
}

bool DirectoryListing::IsWalkableFolder() const
{
    if (m_entry->d_type != DT_UNKNOWN)
        return m_entry->d_type == DT_DIR;
    struct stat status;
    return fstatat(dirfd(m_dir), m_entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(status.st_mode);
}

TSearchFileData DirectoryListing::Data() const
{
    // An entry removed since it was listed keeps its name and nothing else.
    return dataOf(dirfd(m_dir), m_entry->d_name, Name()).value_or(namedRecord(Name()));
}

TSearchFileData DirectoryListing::Outline() const
{
    TSearchFileData data = namedRecord(Name());
    switch (m_entry->d_type) {
    case DT_DIR:
        data.IsDirectory = true;
        break;
    case DT_REG:
        data.IsRegularFile = true;
        break;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat status;
        if (fstatat(dirfd(m_dir), m_entry->d_name, &status, 0) == 0) {
            data.IsDirectory = S_ISDIR(status.st_mode);
            data.IsRegularFile = S_ISREG(status.st_mode);
        }
        break;
    }
    default:
        break;
    }
    return data;
}

EntryKind KindOf(const QString& path)
{
    struct stat status;
    if (path.isEmpty() || stat(QFile::encodeName(path).constData(), &status) != 0)
        return EntryKind::ekNone;
    if (S_ISDIR(status.st_mode))
        return EntryKind::ekFolder;
    return S_ISREG(status.st_mode) ? EntryKind::ekFile : EntryKind::ekOther;
}

TSearchFileData ReadEntryData(const QString& path)
{
    if (path.isEmpty() || path.endsWith(Paths::Separator))
        return {};
    return dataOf(AT_FDCWD, QFile::encodeName(path).constData(), Paths::ExtractFileName(path))
        .value_or(TSearchFileData());
}
