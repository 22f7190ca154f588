// What the front reads to judge an output: the boxes of an MP4 and ffmpeg's log.
#include "tests/tools/ScratchFolder.h"
#include "tools/ffmpeg-front/FfmpegLog.h"
#include "tools/ffmpeg-front/IsoMedia.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace
{

using Bytes = std::string;

Bytes bigEndian(std::uint64_t value, int count)
{
    Bytes bytes;
    for (int i = count - 1; i >= 0; --i)
        bytes += static_cast<char>(value >> (8 * i) & 0xff);
    return bytes;
}

Bytes box(const char* type, const Bytes& body, bool large = false)
{
    return large ? bigEndian(1, 4) + type + bigEndian(16 + body.size(), 8) + body
                 : bigEndian(8 + body.size(), 4) + type + body;
}

// A movie box whose header says `duration` units of 1/`scale` s, in version 0 or (wide) 1.
Bytes movie(std::uint64_t scale, std::uint64_t duration, bool wide = false)
{
    const Bytes times = wide ? Bytes(16, '\0') + bigEndian(scale, 4) + bigEndian(duration, 8)
                             : Bytes(8, '\0') + bigEndian(scale, 4) + bigEndian(duration, 4);
    return box("moov", box("mvhd", Bytes(1, wide) + Bytes(3, '\0') + times + Bytes(80, '\0')));
}

TEST(IsoMedia, WholeFilesAndTheirLength)
{
    struct Case {
        const char* name;
        Bytes file;
        bool whole;
        std::optional<double> seconds;
    };
    const Bytes start = box("ftyp", "isom") + movie(1000, 2500);
    const Bytes toTheEnd = bigEndian(0, 4) + "mdat" + "data";
    const Case cases[] = {
        {"FastStart", start + box("mdat", "data"), true, 2.5},
        {"LargeDataThenVersion1Index", box("mdat", "data", true) + movie(90000, 900000, true), true, 10.0},
        {"DataToTheEnd", start + toTheEnd, true, 2.5},
        {"UnknownLength", movie(1000, 0xffffffff), true, std::nullopt},
        {"CutOff", start + box("mdat", "data").substr(0, 10), false, std::nullopt},
        {"TrailingBytes", start + "abc", false, std::nullopt},
        {"NoIndex", box("ftyp", "isom") + toTheEnd, false, std::nullopt},
    };
    for (const Case& c : cases) {
        ScratchFolder scratch;
        std::ofstream(scratch.File("out.mp4"), std::ios::binary) << c.file;
        const IsoMedia media = ReadIsoMedia(scratch.File("out.mp4"));
        EXPECT_EQ(media.Whole, c.whole) << c.name;
        EXPECT_EQ(media.Seconds, c.seconds) << c.name;
    }
}

std::string readBack(FILE* file)
{
    std::string text(4096, '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    return text;
}

TEST(FfmpegLog, PassesErrorsOnAndNotesWriteErrors)
{
    struct Case {
        const char* name;
        const char* log;
        const char* errors;
        const char* writeError;
    };
    const Case cases[] = {
        {"Encode",
         "[info] Input #0, avi, from 'in.avi':\n"
         "[info]   Duration: 00:01:02.50, start: 0.000000, bitrate: 206 kb/s\n"
         "[libx264 @ 0x55d] [warning] a warning\n"
         "[matroska,webm @ 0x55d] [error] File ended prematurely\r\n"
         "[fatal] last words without a line break",
         "[matroska,webm @ 0x55d] File ended prematurely\nlast words without a line break\n", ""},
        {"FullDisk",
         "[mp4 @ 0x1] [error] Error writing trailer of /o/.a.mp4.tmp-7.mp4: No space left on device\n"
         "a second line of it\n"
         "[info] Error closing file /o/.a.mp4.tmp-7.mp4: Input/output error\n",
         "[mp4 @ 0x1] Error writing trailer of /o/a.mp4: No space left on device\na second line of it\n",
         "No space left on device"},
        {"WordsOfAWriteFailureInANameOrATitle",
         "[info] Input #0, avi, from '/v/Disk quota exceeded - live.avi':\n"
         "[info]     title           : Error writing letters: No space left on device\n"
         "[error] /v/Error writing - No space left on device.avi: Invalid data found when processing input\n",
         "/v/Error writing - No space left on device.avi: Invalid data found when processing input\n", ""},
        {"FfmpegNotStarted", "ffmpeg.exe: cannot run ffmpeg: No such file or directory\n",
         "ffmpeg.exe: cannot run ffmpeg: No such file or directory\n", ""},
    };
    for (const Case& c : cases) {
        FILE* output = std::tmpfile();
        FILE* errors = std::tmpfile();
        FfmpegLog log(fileno(output), fileno(errors), "/o/.a.mp4.tmp-7.mp4", "/o/a.mp4");
        // In pieces that split lines, as a pipe may deliver them.
        for (std::string_view rest = c.log; !rest.empty();
             rest.remove_prefix(std::min<std::size_t>(7, rest.size())))
            log.Add(rest.substr(0, 7));
        log.Finish();
        EXPECT_EQ(readBack(output), "") << c.name;
        EXPECT_EQ(readBack(errors), c.errors) << c.name;
        EXPECT_EQ(log.WriteError(), c.writeError) << c.name;
        std::fclose(output);
        std::fclose(errors);
    }
}

} // namespace
