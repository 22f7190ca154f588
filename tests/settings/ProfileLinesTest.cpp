#include "settings/ProfileLines.h"

#include <gtest/gtest.h>

namespace
{

struct LinesCase {
    const char* name;
    QByteArray bytes;
    QStringList lines;
};

void PrintTo(const LinesCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProfileLineRules : public ::testing::TestWithParam<LinesCase>
{
};

TEST_P(ProfileLineRules, SplitTheFileIntoLines)
{
    EXPECT_EQ(ProfileLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileLineRules,
    ::testing::Values(LinesCase{"crLf", "a\r\nb", {"a", "b"}}, LinesCase{"loneCr", "a\rb", {"a", "b"}},
                      LinesCase{"loneLf", "a\nb", {"a", "b"}},
                      LinesCase{"finalBreakAddsNoEntry", "a\r\nb\r\n", {"a", "b"}},
                      LinesCase{"emptyLinesAreEntries", "a\n\nb\r\n\r\n", {"a", "", "b", ""}},
                      LinesCase{"lfThenCrAreTwoBreaks", "a\n\rb", {"a", "", "b"}},
                      LinesCase{"onlyABreak", "\n", {""}}, LinesCase{"emptyFile", "", {}},
                      LinesCase{"nulEndsTheText", QByteArray("a\nb\0c\nd", 7), {"a", "b"}},
                      LinesCase{"nulFirst", QByteArray("\0a\n", 3), {}},
                      LinesCase{"utf8", "おまかせ,mp4\nｶﾞ", {"おまかせ,mp4", "ｶﾞ"}},
                      LinesCase{"byteOrderMarkIsNoText",
                                "\xEF\xBB\xBF"
                                "a\nb",
                                {"a", "b"}},
                      // "おまかせ" and "ソ表" in code page 932; 0x5C is the second byte of both.
                      LinesCase{"cp932",
                                "\x82\xa8\x82\xdc\x82\xa9\x82\xb9\r\n\x83\x5c\x95\x5c,\xb6\xde\r\n",
                                {"おまかせ", "ソ表,ｶﾞ"}}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return std::string(info.param.name); });

TEST(ProfileLines, LineOf5000BytesKeepsItsFirst4096)
{
    const QByteArray line = QByteArray(4000, 'a') + QByteArray(1000, 'b');
    const QStringList lines = ProfileLines(line + "\nnext");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString(4000, u'a') + QString(96, u'b'));
    EXPECT_EQ(lines[1], "next");
}

TEST(ProfileLines, LongLinesAreCutBetweenCharacters)
{
    // 1700 three-byte characters: 1365 of them fill 4095 bytes, the next would end at 4098.
    const QString utf8Line(1700, u'あ');
    EXPECT_EQ(ProfileLines(utf8Line.toUtf8()), QStringList{utf8Line.left(1365)});

    // "x" and 2500 two-byte characters: "x" and 2047 of them fill 4095 bytes.
    QByteArray cp932Line("x");
    for (int i = 0; i < 2500; ++i)
        cp932Line += "\x82\xa0";
    EXPECT_EQ(ProfileLines(cp932Line), QStringList{"x" + QString(2047, u'あ')});
}

} // namespace
