#include "input/Wildcard.h"
#include "input/FullPath.h"
#include "tests/input/Scoped.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

struct WildcardCase {
    const char* name;
    const char* pattern;
    bool matches;
};

class Wildcard : public ::testing::TestWithParam<WildcardCase>
{
};

TEST_P(Wildcard, MatchesByWindowsRules)
{
    const WildcardCase& c = GetParam();
    EXPECT_EQ(MatchesWildcard(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
        << c.name << " against " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Wildcard,
    ::testing::Values(WildcardCase{"movie.avi", "*.*", true},
                      WildcardCase{"README", "*.*", true}, // no dot needed
                      WildcardCase{".hidden", "*.*", true}, WildcardCase{"movie.avi", "*.avi", true},
                      WildcardCase{"MOVIE.AVI", "*.avi", true}, // case ignored
                      WildcardCase{"movie.avi.txt", "*.avi", false},
                      WildcardCase{"movie.avi", "m?vie.*", true}, WildcardCase{"mvie.avi", "m?vie.*", false},
                      WildcardCase{"a.b.c", "*.c", true},
                      WildcardCase{"abcabd", "*abd", true}, // backtracking
                      WildcardCase{"abc", "a**c", true}, WildcardCase{"abc", "abc*", true},
                      WildcardCase{"abc", "abcd", false}, WildcardCase{"", "*", true},
                      WildcardCase{"動画.MP4", "動?.mp4", true},
                      WildcardCase{"😀.avi", "?.avi", true}, // one character, two units
                      WildcardCase{"Straße.avi", "STRASSE.avi", false}));

TEST(FullPath, FoldsDotsAndKeepsTrailingSeparator)
{
    EXPECT_EQ(FullPath(QStringLiteral("/a/./b/../c")), "/a/c");
    EXPECT_EQ(FullPath(QStringLiteral("/a//b/")), "/a/b/");
    EXPECT_EQ(FullPath(QStringLiteral("/a/b/.")), "/a/b");
    EXPECT_EQ(FullPath(QStringLiteral("/a/b/./")), "/a/b/");
    EXPECT_EQ(FullPath(QStringLiteral("/../..")), "/");
    EXPECT_EQ(FullPath(QStringLiteral("/")), "/");
    EXPECT_EQ(FullPath(QString()), "");
}

TEST(FullPath, ResolvesRelativePathsAgainstTheCurrentFolder)
{
    TempDir dir;
    dir.MakeDir(QStringLiteral("sub"));
    const ScopedCurrentFolder current(dir.File(QStringLiteral("sub")));
    EXPECT_EQ(FullPath(QStringLiteral(".")), dir.File(QStringLiteral("sub")));
    EXPECT_EQ(FullPath(QStringLiteral("../x/")), dir.File(QStringLiteral("x/")));
    EXPECT_EQ(FullPath(QStringLiteral("a b.avi")), dir.File(QStringLiteral("sub/a b.avi")));
}
