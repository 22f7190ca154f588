#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <algorithm>
#include <initializer_list>
#include <memory>

// A path seen as its folder, up to and including the last '/', and the name after it.
struct SplitPath {
    QStringView Folder;
    QStringView Name;
};

// Paths held compactly, for lists of a million files: each folder once, the names in blocks of
// characters that never move, and 16 bytes per path; a QStringList spends well over a hundred
// bytes on each. Copies share what they hold; a change to one leaves the others as they were.
// Copies may be read on several threads, but while one of them is added to, all belong to the
// thread that adds.
class PathList
{
public:
    PathList() = default;
    // Lists of paths as strings convert: they are the same paths.
    PathList(const QStringList& paths); // NOLINT(google-explicit-constructor)
    PathList(std::initializer_list<QString> paths);

    qsizetype size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // Path `i` in one piece.
    QString at(qsizetype i) const;
    // Path `i` as views, which stay valid while any copy of this list holds the path.
    SplitPath SplitAt(qsizetype i) const { return split(m_entries.at(i)); }
    void append(QStringView path);
    // Appends path `i` of `other`.
    void append(const PathList& other, qsizetype i);
    // Removes the paths at `indexes`, ascending and each in the list once, in a single pass over
    // the list however many go. Their characters stay in the blocks until the list is cleared.
    void RemoveSorted(const QList<int>& indexes);
    void reserve(qsizetype count) { m_entries.reserve(count); }
    void clear();
    QStringList ToStringList() const;

    // Sorts the paths by `less` over SplitPaths, keeping the order of paths it finds equal.
    template <typename Less> void StableSort(Less less)
    {
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [&](const Entry& a, const Entry& b) { return less(split(a), split(b)); });
    }

    // Adds the paths of `other`, sorted by `less` as this list is, at their sorted places; among
    // equal paths this list's come first.
    template <typename Less> void MergeSorted(const PathList& other, Less less)
    {
        const qsizetype middle = size();
        reserve(middle + other.size());
        for (qsizetype i = 0; i < other.size(); ++i)
            append(other, i);
        std::inplace_merge(m_entries.begin(), m_entries.begin() + middle, m_entries.end(),
                           [&](const Entry& a, const Entry& b) { return less(split(a), split(b)); });
    }

private:
    struct Entry {
        quint32 Folder;
        quint32 NameLength;
        quint32 Block;
        quint32 NameStart; // in its block
    };
    struct Storage;

    SplitPath split(const Entry& entry) const;
    void append(QStringView folder, QStringView name);

    QList<Entry> m_entries;
    std::shared_ptr<Storage> m_storage; // shared by copies; only ever added to
};
