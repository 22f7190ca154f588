#include "input/NameList.h"

#include <gtest/gtest.h>

namespace
{

// The names in one text: the paths, then the names that are not text, then where names are empty.
QString shown(const ListedNames& names)
{
    QStringList empty;
    for (const int entry : names.EmptyEntries)
        empty << QString::number(entry);
    return names.Paths.join(u'|') + " / " + names.NotText.join(u'|') + " / " + empty.join(u',');
}

TEST(NameList, SplitsLinesAndNulEndedNamesInTheOrderGiven)
{
    const struct {
        QByteArray list;
        ListSeparator separator;
        const char* names;
    } cases[] = {
        // Blank lines are passed over; the last name needs no line break.
        {"b.avi\n\na b.avi \n./-c.avi", ListSeparator::Line, "b.avi|a b.avi |./-c.avi /  / "},
        {QByteArray("z\nline.avi\0a.avi\0", 17), ListSeparator::Nul, "z\nline.avi|a.avi /  / "},
        {QByteArray("\0a.avi\0\0b.avi", 13), ListSeparator::Nul, "a.avi|b.avi /  / 1,3"},
        {"ok.avi\nbad\xff.avi\n", ListSeparator::Line, "ok.avi / bad\\xff.avi / "},
        {"", ListSeparator::Nul, " /  / "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(SplitNameList(c.list, c.separator)), c.names) << c.list.toStdString();
}

} // namespace
