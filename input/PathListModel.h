#pragma once

#include "input/SortedPaths.h"

#include <QAbstractListModel>

// The sorted paths as a one-column list for a list view. A change resets the model once, so a
// view lays out once per change, not once per path.
class PathListModel : public QAbstractListModel
{
public:
    explicit PathListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    const SortedPaths& Paths() const { return m_paths; }
    // Adds `batch` at its sorted places; nothing happens for an empty batch.
    void Merge(SortedPaths::Batch batch);
    // Empties the list.
    void Clear();
    // Removes the paths at `rows`.
    void RemoveAt(const QList<int>& rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    SortedPaths m_paths;
};
