#pragma once

#include <string>

// The file an output is written to before it takes the target's name: hidden, beside the target
// (the same file system, so the rename is atomic), ending in the target's extension so ffmpeg
// picks the same format, and named ".<target's name>.korumi-tmp-XXXXXX<extension>", the name cut
// short where the whole would be longer than the file system allows. Its writer holds an
// exclusive flock on it for as long as it lives: a front on this machine or on another one that
// shares the folder can take that lock only once the writer is gone, which is how a file a
// killed writer left is told from one being written.
class TempOutput
{
public:
    // Makes a new temporary file for `target`. When none can be made, Path() is empty and
    // Problem() says why.
    explicit TempOutput(const std::string& target);
    // Removes the file unless it has taken its target's name.
    ~TempOutput();
    TempOutput(const TempOutput&) = delete;
    TempOutput& operator=(const TempOutput&) = delete;

    const std::string& Path() const { return m_path; }
    const std::string& Problem() const { return m_problem; }
    // The file, open for reading and writing.
    int Descriptor() const { return m_descriptor; }

    // Gives the file the modification time of `source`, where that is a file.
    void DateAs(const std::string& source);

    // Puts the file in place of `target`: synced to the disk first, then renamed, then the folder
    // synced, so that after a crash the target is the old file or the whole new one. Returns why
    // when it cannot; the target then stays as it was.
    std::string MoveOnto(const std::string& target);

private:
    std::string m_path;
    std::string m_problem;
    int m_descriptor = -1; // holds the lock
    bool m_moved = false;
};

// Why `target` may not be replaced: a device or a pipe, or a file the user may not write (a
// write-protected file is the user's to keep, though the folder would let a rename replace it).
// Empty when it may be, or when there is none.
std::string CannotReplace(const std::string& target);

// Removes the temporary files beside `target` whose writers are provably gone: their lock can be
// taken. Those of live writers stay, and so does every file whose lock cannot be tried.
void RemoveOrphanedTempOutputs(const std::string& target);
