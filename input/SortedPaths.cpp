#include "input/SortedPaths.h"

#include "platform/Errors.h"

#include <algorithm>

void SortedPaths::Merge(const QStringList& batch)
{
    const auto byKey = [](const Item& a, const Item& b) { return a.key < b.key; };
    const auto middle = static_cast<std::ptrdiff_t>(m_items.size());
    m_items.reserve(m_items.size() + batch.size());
    for (const QString& path : batch)
        m_items.push_back({path.toCaseFolded(), path});
    // Both steps are stable and the merge takes the older items first among equals.
    std::stable_sort(m_items.begin() + middle, m_items.end(), byKey);
    std::inplace_merge(m_items.begin(), m_items.begin() + middle, m_items.end(), byKey);
}

const QString& SortedPaths::At(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(index);
    return m_items[static_cast<std::size_t>(index)].path;
}

void SortedPaths::RemoveAt(QList<int> indexes)
{
    // From the back, so that each removal leaves the indexes still to come in place.
    std::sort(indexes.begin(), indexes.end(), std::greater<>());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (int index : indexes) {
        if (index >= 0 && index < Count())
            m_items.erase(m_items.begin() + index);
    }
}

QStringList SortedPaths::Paths() const
{
    QStringList paths;
    paths.reserve(Count());
    for (const Item& item : m_items)
        paths << item.path;
    return paths;
}
