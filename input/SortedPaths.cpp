#include "input/SortedPaths.h"

#include "platform/Errors.h"

#include <algorithm>

namespace
{
template <typename Item> bool byKey(const Item& a, const Item& b)
{
    return a.key < b.key;
}
} // namespace

SortedPaths::Batch::Batch(const QStringList& paths)
{
    m_items.reserve(paths.size());
    for (const QString& path : paths)
        m_items.push_back({path.toCaseFolded(), path});
    std::stable_sort(m_items.begin(), m_items.end(), byKey<Item>);
}

void SortedPaths::Merge(Batch batch)
{
    if (m_items.empty()) {
        m_items = std::move(batch.m_items);
        return;
    }
    const auto middle = static_cast<std::ptrdiff_t>(m_items.size());
    m_items.insert(m_items.end(), std::make_move_iterator(batch.m_items.begin()),
                   std::make_move_iterator(batch.m_items.end()));
    // Both steps are stable and the merge takes the older items first among equals.
    std::inplace_merge(m_items.begin(), m_items.begin() + middle, m_items.end(), byKey<Item>);
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
