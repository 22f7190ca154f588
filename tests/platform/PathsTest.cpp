#include "platform/Paths.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

using namespace Paths;

TEST(Paths, FileNameAndExtension)
{
    EXPECT_EQ(ExtractFileName(QStringLiteral("/a/b/c.avi")), "c.avi");
    EXPECT_EQ(ExtractFileName(QStringLiteral("c.avi")), "c.avi");
    EXPECT_EQ(ExtractFileName(QStringLiteral("/a/b/")), "");
    // ":" and "\" are ordinary characters in Linux file names.
    EXPECT_EQ(ExtractFileName(QStringLiteral("/a/x:y\\z.avi")), "x:y\\z.avi");
    EXPECT_EQ(ExtractFileExt(QStringLiteral("/a.b/movie")), "");
    EXPECT_EQ(ExtractFileExt(QStringLiteral("/a/clip.tar.avi")), ".avi");
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a.b/movie"), QStringLiteral(".mp4")), "/a.b/movie.mp4");
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a/x.avi"), QString()), "/a/x");
}

TEST(Paths, TrailingSeparator)
{
    EXPECT_EQ(ExcludeTrailingSeparator(QStringLiteral("/out/")), "/out");
    EXPECT_EQ(ExcludeTrailingSeparator(QStringLiteral("/out//")), "/out/"); // one only
    EXPECT_EQ(ExcludeTrailingSeparator(QStringLiteral("/out")), "/out");
    EXPECT_EQ(ExcludeTrailingSeparator(QStringLiteral("/")), "/");
    EXPECT_EQ(ExcludeTrailingSeparator(QString()), "");
    EXPECT_EQ(IncludeTrailingSeparator(QStringLiteral("/out")), "/out/");
    EXPECT_EQ(IncludeTrailingSeparator(QStringLiteral("/")), "/");
    EXPECT_EQ(Join(QStringLiteral("/"), QStringLiteral("a")), "/a");
    EXPECT_EQ(Join(QStringLiteral("/x"), QStringLiteral("a")), "/x/a");
}

TEST(Errors, CarryTheirUserTexts)
{
    EXPECT_EQ(EFOpenError(QStringLiteral("/p/profile.txt")).Message(),
              "ファイル /p/profile.txt は開けません");
    EXPECT_EQ(EConvertError(QString()).Message(), "'' は整数ではありません");
    EXPECT_EQ(EIniFileError(QStringLiteral("/p/Korumi.ini")).Message(), "/p/Korumi.ini に書き込めません");
    EXPECT_EQ(EListError(5).Message(), "リストのインデックスが範囲を超えています (5)");
}
