#include "input/PathListModel.h"

void PathListModel::Merge(SortedPaths::Batch batch)
{
    if (batch.IsEmpty())
        return;
    beginResetModel();
    m_paths.Merge(std::move(batch));
    endResetModel();
}

void PathListModel::RemoveAt(const QList<int>& rows)
{
    beginResetModel();
    m_paths.RemoveAt(rows);
    endResetModel();
}

void PathListModel::Clear()
{
    if (m_paths.Count() == 0)
        return;
    beginResetModel();
    m_paths.Clear();
    endResetModel();
}

int PathListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_paths.Count();
}

QVariant PathListModel::data(const QModelIndex& index, int role) const
{
    // A row's hint is its whole path, which the row itself may show shortened.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) ||
        !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return m_paths.At(index.row());
}
