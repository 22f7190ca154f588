#include "tools/ffmpeg-front/IsoMedia.h"

#include <array>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr std::uint64_t HeaderSize = 8;       // 32-bit size, then the type
constexpr std::uint64_t LargeHeaderSize = 16; // size 1, the type, then a 64-bit size
constexpr std::uint64_t ToTheEnd = 0;         // a size of 0: the box runs to the end of its parent
constexpr std::uint64_t Large = 1;

struct Box {
    std::string type;
    std::uint64_t start = 0;
    std::uint64_t header = 0;
    std::uint64_t size = 0;
};

class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const std::string& path) : m_fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFile()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::uint64_t Size() const
    {
        struct stat info = {};
        return m_fd >= 0 && fstat(m_fd, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    }

    // The `count` bytes at `at`; false when the file holds fewer.
    bool Read(std::uint64_t at, unsigned char* bytes, std::uint64_t count) const
    {
        return m_fd >= 0 && pread(m_fd, bytes, count, static_cast<off_t>(at)) == static_cast<ssize_t>(count);
    }

private:
    int m_fd;
};

std::uint64_t bigEndian(const unsigned char* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// The box at `at` inside a parent ending at `end`; nothing when its header or body overruns it.
std::optional<Box> boxAt(const ReadOnlyFile& file, std::uint64_t at, std::uint64_t end)
{
    std::array<unsigned char, LargeHeaderSize> header;
    if (end - at < HeaderSize || !file.Read(at, header.data(), HeaderSize))
        return std::nullopt;
    Box box{std::string(reinterpret_cast<const char*>(header.data()) + 4, 4), at, HeaderSize,
            bigEndian(header.data(), 4)};
    if (box.size == Large) {
        if (end - at < LargeHeaderSize || !file.Read(at, header.data(), LargeHeaderSize))
            return std::nullopt;
        box.header = LargeHeaderSize;
        box.size = bigEndian(header.data() + HeaderSize, 8);
    } else if (box.size == ToTheEnd) {
        box.size = end - at;
    }
    if (box.size < box.header || box.size > end - at)
        return std::nullopt;
    return box;
}

// The length in the movie header ("mvhd"): a time scale and a duration in its units, 32-bit in
// version 0 and the duration 64-bit in version 1. All ones means unknown.
std::optional<double> movieSeconds(const ReadOnlyFile& file, const Box& movieHeader)
{
    std::array<unsigned char, 32> fields; // version and flags, then the times
    const std::uint64_t at = movieHeader.start + movieHeader.header;
    if (movieHeader.size - movieHeader.header < fields.size() || !file.Read(at, fields.data(), fields.size()))
        return std::nullopt;
    const bool wide = fields[0] == 1;
    const std::uint64_t scale = bigEndian(fields.data() + (wide ? 20 : 12), 4);
    const std::uint64_t duration = bigEndian(fields.data() + (wide ? 24 : 16), wide ? 8 : 4);
    const std::uint64_t unknown = wide ? UINT64_MAX : UINT32_MAX;
    if (scale == 0 || duration == unknown)
        return std::nullopt;
    return static_cast<double>(duration) / static_cast<double>(scale);
}

std::optional<double> lengthInMovie(const ReadOnlyFile& file, const Box& movie)
{
    const std::uint64_t end = movie.start + movie.size;
    for (std::uint64_t at = movie.start + movie.header; at < end;) {
        const std::optional<Box> box = boxAt(file, at, end);
        if (!box)
            return std::nullopt;
        if (box->type == "mvhd")
            return movieSeconds(file, *box);
        at += box->size;
    }
    return std::nullopt;
}

} // namespace

std::vector<IsoBox> TopLevelBoxes(const std::string& path)
{
    const ReadOnlyFile file(path);
    const std::uint64_t end = file.Size();
    std::vector<IsoBox> boxes;
    for (std::uint64_t at = 0; at < end;) {
        const std::optional<Box> box = boxAt(file, at, end);
        if (!box)
            return {};
        boxes.push_back({box->type, box->start, box->size});
        at += box->size;
    }
    return boxes;
}

IsoMedia ReadIsoMedia(const std::string& path)
{
    const ReadOnlyFile file(path);
    const std::uint64_t end = file.Size();
    IsoMedia media;
    bool hasMovie = false;
    for (std::uint64_t at = 0; at < end;) {
        const std::optional<Box> box = boxAt(file, at, end);
        if (!box)
            return {};
        if (box->type == "moov") {
            hasMovie = true;
            media.Seconds = lengthInMovie(file, *box);
        }
        at += box->size;
    }
    media.Whole = hasMovie;
    return media;
}
