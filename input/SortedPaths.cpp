#include "input/SortedPaths.h"

#include "platform/Errors.h"

#include <algorithm>

namespace
{

// Paths share long beginnings: what two have in common is passed over before Qt folds the rest.
bool byFoldedPath(const QString& a, const QString& b)
{
    qsizetype from = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
    if (from > 0 && a[from - 1].isHighSurrogate()) // whole characters only
        --from;
    return QStringView(a).sliced(from).compare(QStringView(b).sliced(from), Qt::CaseInsensitive) < 0;
}

} // namespace

SortedPaths::Batch::Batch(QStringList paths) : m_items(std::move(paths))
{
    std::stable_sort(m_items.begin(), m_items.end(), byFoldedPath);
}

void SortedPaths::Merge(Batch batch)
{
    if (m_items.isEmpty()) {
        m_items = std::move(batch.m_items);
        return;
    }
    // Both steps are stable and the merge takes the older items first among equals.
    const qsizetype middle = m_items.size();
    m_items.append(batch.m_items);
    std::inplace_merge(m_items.begin(), m_items.begin() + middle, m_items.end(), byFoldedPath);
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
    // One pass over the list however many go.
    qsizetype kept = 0;
    for (qsizetype i = 0, next = 0; i < m_items.size(); ++i) {
        if (next < indexes.size() && indexes[next] == i)
            ++next;
        else
            m_items.swapItemsAt(kept++, i);
    }
    m_items.resize(kept);
}
