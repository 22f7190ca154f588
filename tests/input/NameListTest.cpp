#include "input/NameList.h"

#include <gtest/gtest.h>

namespace
{

TEST(NameList, SplitsLinesAndNulEndedNamesInTheOrderGiven)
{
    const QByteArray notUtf8 = "bad\xff.avi";
    struct Case {
        const char* what;
        QByteArray list;
        ListSeparator separator;
        QStringList paths;
        QStringList notText;
        QList<int> empty;
    };
    const Case cases[] = {
        {"lines, blank ones passed over, the last without a break",
         "b.avi\n\na b.avi \n./-c.avi",
         ListSeparator::Line,
         {"b.avi", "a b.avi ", "./-c.avi"},
         {},
         {}},
        {"a NUL list holds line breaks and ends with a NUL",
         QByteArray("z\nline.avi\0a.avi\0", 17),
         ListSeparator::Nul,
         {"z\nline.avi", "a.avi"},
         {},
         {}},
        {"empty names of a NUL list are noted by their place",
         QByteArray("\0a.avi\0\0b.avi", 13),
         ListSeparator::Nul,
         {"a.avi", "b.avi"},
         {},
         {1, 3}},
        {"names that are not UTF-8 are named, not taken",
         "ok.avi\n" + notUtf8 + "\n",
         ListSeparator::Line,
         {"ok.avi"},
         {"bad\\xff.avi"},
         {}},
        {"nothing at all", "", ListSeparator::Nul, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const ListedNames names = SplitNameList(c.list, c.separator);
        EXPECT_EQ(names.Paths, c.paths) << c.what;
        EXPECT_EQ(names.NotText, c.notText) << c.what;
        EXPECT_EQ(names.EmptyEntries, c.empty) << c.what;
    }
}

} // namespace
