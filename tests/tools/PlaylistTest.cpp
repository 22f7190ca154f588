// The playlist format of addfile.exe.
#include "tools/addfile/Playlist.h"
#include "tests/tools/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace
{

struct QuoteCase {
    const char* given;
    const char* expected;
};

class StripQuotes : public ::testing::TestWithParam<QuoteCase>
{
};

TEST_P(StripQuotes, RemovesOneSurroundingPair)
{
    EXPECT_EQ(Playlist::StripQuotes(GetParam().given), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Arguments, StripQuotes,
                         ::testing::Values(QuoteCase{"\"/out/a.mp4\"", "/out/a.mp4"},
                                           QuoteCase{"/out/a.mp4", "/out/a.mp4"},
                                           QuoteCase{"\"\"/out/a\"\"", "\"/out/a\""},
                                           QuoteCase{"\"/out/a.mp4", "\"/out/a.mp4"}, QuoteCase{"\"", "\""},
                                           QuoteCase{"\"\"", ""}));

TEST(PlaylistEntry, HasLengthTitleAndLocation)
{
    EXPECT_EQ(Playlist::Entry("/out/my clip.tar.mp4", 12.6),
              "#EXTINF:13,my clip.tar\n/out/my clip.tar.mp4\n");
    EXPECT_EQ(Playlist::Entry("/out/x", std::nullopt), "#EXTINF:-1,x\n/out/x\n");
    EXPECT_EQ(Playlist::Entry("/o/a\nb.mp4", 1), "#EXTINF:1,a b\nfile:///o/a%0Ab.mp4\n");
    EXPECT_EQ(Playlist::Location("/o/$ \"映\".mp4"), "/o/$ \"映\".mp4");
}

TEST(PlaylistEntry, ListedMeansAWholeLine)
{
    const std::string text = "#EXTM3U\r\n#EXTINF:1,a\r\n/out/a.mp4\r\n";
    EXPECT_TRUE(Playlist::Lists(text, "/out/a.mp4"));
    EXPECT_FALSE(Playlist::Lists(text, "/out/a"));
    EXPECT_FALSE(Playlist::Lists(text, "a"));
}

TEST(PlaylistAppend, FailsWhenThePlaylistCannotBeOpened)
{
    ScratchFolder scratch;
    EXPECT_NE(Playlist::Append(scratch.File("missing/Korumi.m3u"), "/a", "#EXTINF:1,a\n/a\n"), "");
}

} // namespace
