#include "tools/ffmpeg-front/TempOutput.h"

#include "tools/common/FilePaths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr char Marker[] = ".korumi-tmp-";
constexpr std::size_t MarkerLength = sizeof Marker - 1;
constexpr std::size_t UniqueLength = 6;
constexpr char UniqueCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr long CommonNameLimit = 255;
// Names taken by files made since the random part was drawn; a folder that refuses this many is
// not going to take any.
constexpr int CreateAttempts = 100;

std::string uniquePart()
{
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof UniqueCharacters - 2);
    std::string part(UniqueLength, ' ');
    for (char& c : part)
        c = UniqueCharacters[pick(random)];
    return part;
}

// `name` cut to at most `length` bytes, never inside a UTF-8 character, so the result stays text.
std::string cutToLength(const std::string& name, std::size_t length)
{
    if (name.size() <= length)
        return name;
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
        --length;
    return name.substr(0, length);
}

std::string newName(const std::string& folder, const std::string& targetName)
{
    const long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::string extension = FilePaths::Extension(targetName);
    const std::size_t fixed = 1 + MarkerLength + UniqueLength + extension.size();
    const std::size_t room = static_cast<std::size_t>(limit > 0 ? limit : CommonNameLimit);
    const std::string kept = cutToLength(targetName, room > fixed ? room - fixed : 0);
    return '.' + kept + Marker + uniquePart() + extension;
}

// Whether `name` is one newName() makes.
bool isTempName(const std::string& name)
{
    const std::size_t marker = name.rfind(Marker);
    if (name.empty() || name.front() != '.' || marker == std::string::npos)
        return false;
    const std::size_t rest = marker + MarkerLength + UniqueLength;
    if (rest > name.size())
        return false;
    for (std::size_t i = marker + MarkerLength; i < rest; ++i) {
        if (std::strchr(UniqueCharacters, name[i]) == nullptr)
            return false;
    }
    return rest == name.size() || (name[rest] == '.' && name.find('.', rest + 1) == std::string::npos);
}

// Whether `path` still names the file open as `descriptor`: a remover may have taken the name
// away between our open and our lock.
bool stillNamed(int descriptor, const std::string& path)
{
    struct stat open = {}, named = {};
    return fstat(descriptor, &open) == 0 && lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// Opens an existing file to try its lock. Writable where it may be: NFS grants an exclusive lock
// only on a descriptor open for writing.
int openToLock(const std::string& path)
{
    constexpr int Flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int descriptor = open(path.c_str(), O_RDWR | Flags);
    return descriptor >= 0 || errno != EACCES ? descriptor : open(path.c_str(), O_RDONLY | Flags);
}

void syncFolder(const std::string& folder)
{
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    fsync(descriptor); // some file systems cannot sync a folder; the rename is made all the same
    close(descriptor);
}

} // namespace

TempOutput::TempOutput(const std::string& target)
{
    const std::string folder = FilePaths::Folder(target);
    for (int attempt = 0; attempt < CreateAttempts; ++attempt) {
        const std::string path = folder + '/' + newName(folder, FilePaths::FileName(target));
        const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0) {
            m_problem = std::strerror(errno);
            return;
        }
        // Where the file system has no locks at all, nobody can prove the file orphaned either.
        const bool locked = flock(descriptor, LOCK_EX | LOCK_NB) == 0;
        if (locked ? stillNamed(descriptor, path) : errno != EWOULDBLOCK) {
            m_path = path;
            m_descriptor = descriptor;
            return;
        }
        close(descriptor); // a remover took it in the moment before our lock, and removes it
    }
    m_problem = "no free temporary name";
}

TempOutput::~TempOutput()
{
    // Removed while still locked, so no remover can take the name meanwhile.
    if (!m_moved && !m_path.empty())
        unlink(m_path.c_str());
    if (m_descriptor >= 0)
        close(m_descriptor);
}

void TempOutput::DateAs(const std::string& source)
{
    struct stat info = {};
    if (stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    const timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
    futimens(m_descriptor, times);
}

std::string TempOutput::MoveOnto(const std::string& target)
{
    std::string why = CannotReplace(target);
    // A write error that the disk reports only now (a full NFS share, say) fails the output.
    if (why.empty() && fsync(m_descriptor) != 0)
        why = std::string("the output could not be saved (") + std::strerror(errno) + ')';
    if (why.empty() && rename(m_path.c_str(), target.c_str()) != 0)
        why = std::strerror(errno);
    if (!why.empty())
        return why;
    m_moved = true;
    syncFolder(FilePaths::Folder(target));
    return {};
}

std::string CannotReplace(const std::string& target)
{
    struct stat info = {};
    if (stat(target.c_str(), &info) != 0)
        return {};
    if (!S_ISREG(info.st_mode))
        return "not a plain file";
    return access(target.c_str(), W_OK) == 0 ? std::string() : std::strerror(errno);
}

void RemoveOrphanedTempOutputs(const std::string& target)
{
    const std::string folder = FilePaths::Folder(target);
    FilePaths::ForEachEntry(folder, [&](const std::string& name) {
        const std::string path = folder + '/' + name;
        struct stat info = {};
        if (!isTempName(name) || lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            return;
        const int descriptor = openToLock(path);
        if (descriptor < 0)
            return;
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0 && stillNamed(descriptor, path))
            unlink(path.c_str());
        close(descriptor);
    });
}
