// addfile.exe: registers a finished video in the user's media library (the Korumi playlist).
#include "platform/MediaFacts.h"
#include "platform/XdgFolders.h"
#include "tools/addfile/Playlist.h"
#include "tools/common/FilePaths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int UsageStatus = 2;

bool isFile(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
    return EXIT_FAILURE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", program_invocation_short_name);
        return UsageStatus;
    }
    const std::string path = FilePaths::Absolute(Playlist::StripQuotes(argv[1]));
    if (!isFile(path))
        return fail(path + ": no such file");
    const std::string home = XdgFolders::Home();
    const std::string folder = XdgFolders::Videos(home, XdgFolders::ConfigHome(home));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return fail(folder + ": " + error.message());
    const std::string problem = Playlist::Append(folder + '/' + Playlist::FileName, Playlist::Location(path),
                                                 Playlist::Entry(path, ProbeMedia(path).DeclaredSeconds));
    return problem.empty() ? EXIT_SUCCESS : fail(problem);
}
