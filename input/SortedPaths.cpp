#include "input/SortedPaths.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{
char16_t foldedAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

// Where a and b first differ, among their first `count` characters: paths share long beginnings,
// which are passed over four characters at a time.
qsizetype firstDifference(const QChar* a, const QChar* b, qsizetype count)
{
    qsizetype i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        if (x != y)
            break;
    }
    while (i < count && a[i] == b[i])
        ++i;
    return i;
}

// Folded as it compares rather than kept folded beside each path: a million paths are sorted
// without a second copy of each. ASCII is folded here; from the first other difference on, Qt
// folds.
bool byFoldedPath(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = firstDifference(a.data(), b.data(), common); i < common; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80) {
            const qsizetype from = i > 0 && a[i - 1].isHighSurrogate() ? i - 1 : i; // whole characters
            return a.sliced(from).compare(b.sliced(from), Qt::CaseInsensitive) < 0;
        }
        if (foldedAscii(x) != foldedAscii(y))
            return foldedAscii(x) < foldedAscii(y);
    }
    return a.size() < b.size();
}

// Paths of one folder share its text, and differ only in their names. Those of two folders are
// mostly told apart by the first ASCII character in which the folders differ; the rest are
// compared whole, put together in buffers that the sort reuses.
bool byFoldedSplitPath(const SplitPath& a, const SplitPath& b)
{
    if (a.Folder.data() == b.Folder.data() && a.Folder.size() == b.Folder.size())
        return byFoldedPath(a.Name, b.Name);
    const qsizetype common = std::min(a.Folder.size(), b.Folder.size());
    const qsizetype i = firstDifference(a.Folder.data(), b.Folder.data(), common);
    if (i < common) {
        const char16_t x = foldedAscii(a.Folder[i].unicode());
        const char16_t y = foldedAscii(b.Folder[i].unicode());
        if (x != y && x < 0x80 && y < 0x80)
            return x < y;
    }
    thread_local QString wholeA;
    thread_local QString wholeB;
    wholeA.resize(0);
    wholeB.resize(0);
    wholeA.append(a.Folder).append(a.Name);
    wholeB.append(b.Folder).append(b.Name);
    return byFoldedPath(wholeA, wholeB);
}

} // namespace

SortedPaths::Batch::Batch(PathList paths) : m_items(std::move(paths))
{
    m_items.StableSort(byFoldedSplitPath);
}

void SortedPaths::Merge(Batch batch)
{
    if (m_items.isEmpty())
        m_items = std::move(batch.m_items);
    else // both steps are stable and the merge takes the older items first among equals
        m_items.MergeSorted(batch.m_items, byFoldedSplitPath);
}

QString SortedPaths::At(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(index);
    return m_items.at(index);
}

void SortedPaths::RemoveAt(QList<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.removeIf([this](int index) { return index < 0 || index >= Count(); });
    m_items.RemoveSorted(indexes);
}
