// Loaded with LD_PRELOAD: makes flock answer, for the files under the folder
// KORUMI_TEST_LOCKS_UNDER, as file systems that cannot run here do. KORUMI_TEST_LOCKS=nfs answers
// as an NFS mount: an exclusive lock only on a descriptor open for writing (EBADF otherwise).
// KORUMI_TEST_LOCKS=none answers as a file system without locks (ENOLCK).
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{

bool isUnder(int descriptor, const char* folder)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    char path[PATH_MAX];
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length < 0)
        return false;
    path[length] = '\0';
    const std::size_t folderLength = std::strlen(folder);
    return std::strncmp(path, folder, folderLength) == 0 && path[folderLength] == '/';
}

} // namespace

extern "C" int flock(int descriptor, int operation)
{
    using Flock = int (*)(int, int);
    static const auto real = reinterpret_cast<Flock>(dlsym(RTLD_NEXT, "flock"));
    const char* locks = std::getenv("KORUMI_TEST_LOCKS");
    const char* folder = std::getenv("KORUMI_TEST_LOCKS_UNDER");
    if (locks != nullptr && folder != nullptr && isUnder(descriptor, folder)) {
        if (std::strcmp(locks, "none") == 0) {
            errno = ENOLCK;
            return -1;
        }
        if ((operation & LOCK_EX) != 0 && (fcntl(descriptor, F_GETFL) & O_ACCMODE) == O_RDONLY) {
            errno = EBADF;
            return -1;
        }
    }
    return real(descriptor, operation);
}
