#pragma once

#include <QStringList>

// Paths in ascending order with letter case ignored. Duplicates stay, and paths that compare
// equal keep the order in which they came: a new path goes after the ones equal to it.
class SortedPaths
{
public:
    // Paths sorted for a merge, apart from any list: the costly part of a merge, which may run on
    // any thread.
    class Batch
    {
    public:
        Batch() = default;
        explicit Batch(QStringList paths);
        bool IsEmpty() const { return m_items.isEmpty(); }
        int Count() const { return static_cast<int>(m_items.size()); }

    private:
        friend class SortedPaths;
        QStringList m_items;
    };

    // Puts every path of `batch` at its sorted place, as adding them one by one would.
    void Merge(const QStringList& batch) { Merge(Batch(batch)); }
    void Merge(Batch batch);
    void Clear() { m_items.clear(); }
    // Removes the paths at `indexes`; indexes outside the list are passed over.
    void RemoveAt(QList<int> indexes);
    int Count() const { return static_cast<int>(m_items.size()); }
    // The path at `index`; throws EListError outside the list.
    QString At(int index) const;
    // The paths in order.
    const QStringList& Paths() const { return m_items; }

private:
    QStringList m_items;
};
