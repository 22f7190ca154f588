#include "tools/ffmpeg-front/MovieKeys.h"

#include "tools/ffmpeg-front/IsoMedia.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// A movie box of this size would index days of video: no file of ours.
constexpr std::uint64_t MovieLimit = 256u << 20;
constexpr std::size_t HeaderSize = 8;
constexpr std::uint32_t Utf8Text = 1; // the data box's type for text
// Boxes on the way from the movie box to the chunk offsets.
constexpr const char* PathToChunks[] = {"trak", "mdia", "minf", "stbl"};

std::string bigEndian(std::uint64_t value, int bytes)
{
    std::string text(static_cast<std::size_t>(bytes), '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        text[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
    return text;
}

std::uint64_t read(const std::string& bytes, std::size_t at, int count)
{
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::string box(const std::string& type, const std::string& body)
{
    return bigEndian(HeaderSize + body.size(), 4) + type + body;
}

// A box with a version and flags, both 0.
std::string fullBox(const std::string& type, const std::string& body)
{
    return box(type, std::string(4, '\0') + body);
}

std::string keysMeta(const std::vector<MovieKey>& keys)
{
    const std::string handler = fullBox("hdlr", std::string(4, '\0') + "mdta" + std::string(13, '\0'));
    std::string names = bigEndian(keys.size(), 4);
    std::string values;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        names += box("mdta", keys[i].first);
        // An item is named by its key's number, counted from 1.
        values += box(bigEndian(i + 1, 4),
                      box("data", bigEndian(Utf8Text, 4) + std::string(4, '\0') + keys[i].second));
    }
    return fullBox("meta", handler + fullBox("keys", names) + box("ilst", values));
}

// Moves every chunk offset at or past `from` by `delta` in the boxes of `movie` between `begin`
// and `end`. False when the boxes do not tile their parent or an offset no longer fits.
bool shiftChunks(std::string& movie, std::size_t begin, std::size_t end, std::uint64_t from,
                 std::uint64_t delta)
{
    for (std::size_t at = begin; at < end;) {
        if (end - at < HeaderSize)
            return false;
        const std::size_t size = read(movie, at, 4);
        const std::string type = movie.substr(at + 4, 4);
        if (size < HeaderSize || size > end - at)
            return false;
        const bool inner =
            std::find(std::begin(PathToChunks), std::end(PathToChunks), type) != std::end(PathToChunks);
        if (inner && !shiftChunks(movie, at + HeaderSize, at + size, from, delta))
            return false;
        if (type == "stco" || type == "co64") {
            const int width = type == "stco" ? 4 : 8;
            const std::uint64_t limit = type == "stco" ? UINT32_MAX : UINT64_MAX;
            const std::size_t entries = at + HeaderSize + 8; // version, flags and count first
            if (size < HeaderSize + 8 || read(movie, at + HeaderSize + 4, 4) * width > size - HeaderSize - 8)
                return false;
            for (std::size_t entry = entries; entry + width <= at + size; entry += width) {
                const std::uint64_t offset = read(movie, entry, width);
                if (offset >= from && offset > limit - delta)
                    return false;
                if (offset >= from)
                    movie.replace(entry, width, bigEndian(offset + delta, width));
            }
        }
        at += size;
    }
    return true;
}

bool writeAll(int to, const char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t written = write(to, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

// Copies `count` bytes at `at` of `from` to the end of `to`.
bool copyRange(int from, std::uint64_t at, std::uint64_t count, int to)
{
    off_t offset = static_cast<off_t>(at);
    while (count > 0) {
        const ssize_t copied = copy_file_range(from, &offset, to, nullptr, count, 0);
        if (copied > 0) {
            count -= static_cast<std::uint64_t>(copied);
            continue;
        }
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied == 0 || (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL))
            return false;
        // A file system that cannot copy on its own: through a buffer.
        std::string buffer(std::min<std::uint64_t>(count, 1u << 20), '\0');
        const ssize_t got = pread(from, buffer.data(), buffer.size(), offset);
        if (got <= 0 || !writeAll(to, buffer.data(), static_cast<std::size_t>(got)))
            return false;
        offset += got;
        count -= static_cast<std::uint64_t>(got);
    }
    return true;
}

struct OpenFile {
    int fd;
    ~OpenFile()
    {
        if (fd >= 0)
            close(fd);
    }
};

} // namespace

std::string CopyWithMovieKeys(const std::string& from, int to, const std::vector<MovieKey>& keys)
{
    const std::vector<IsoBox> boxes = TopLevelBoxes(from);
    const auto movieBox =
        std::find_if(boxes.begin(), boxes.end(), [](const IsoBox& box) { return box.Type == "moov"; });
    if (movieBox == boxes.end() || movieBox->Size > MovieLimit)
        return "the output has no movie box of a usable size";
    const OpenFile source{open(from.c_str(), O_RDONLY | O_CLOEXEC)};
    std::string movie(movieBox->Size, '\0');
    if (source.fd < 0 ||
        pread(source.fd, movie.data(), movie.size(), static_cast<off_t>(movieBox->Start)) !=
            static_cast<ssize_t>(movie.size()) ||
        read(movie, 0, 4) != movie.size())
        return "the output's movie box cannot be read";
    const std::string meta = keysMeta(keys);
    const std::uint64_t movieEnd = movieBox->Start + movieBox->Size;
    if (!shiftChunks(movie, HeaderSize, movie.size(), movieEnd, meta.size()))
        return "the output's chunk offsets cannot be moved";
    movie += meta;
    movie.replace(0, 4, bigEndian(movie.size(), 4));
    const std::uint64_t end = boxes.back().Start + boxes.back().Size;
    if (!copyRange(source.fd, 0, movieBox->Start, to) || !writeAll(to, movie.data(), movie.size()) ||
        !copyRange(source.fd, movieEnd, end - movieEnd, to))
        return std::string("the output cannot be copied (") + std::strerror(errno) + ')';
    return {};
}
