#include "TDataSource.h"

#include "TADOQuery.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

TDataSource::TDataSource(TADOQuery& dataSet, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet), m_columns(std::move(columns))
{
    connect(&m_dataSet, &TADOQuery::opened, this, &TDataSource::reset);
    connect(&m_dataSet, &TADOQuery::closed, this, &TDataSource::reset);
    connect(&m_dataSet, &TADOQuery::currentRowChanged, this, &TDataSource::followDataSet);
    reset();
}

void TDataSource::attach(QTableView* grid)
{
    m_grid = grid;
    grid->setModel(this);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(false);
    for (int c = 0; c < int(m_columns.size()); ++c)
        grid->setColumnWidth(c, m_columns[c].width);
    // Rows as high as a line of the grid's font, as in a data grid, not the
    // roomier default of an item view.
    QHeaderView* rows = grid->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(grid->fontMetrics().height() + 3);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_dataSet.setCurrentRow(current.row());
            });
}

void TDataSource::reset()
{
    beginResetModel();
    m_snapshotColumns.clear();
    const Snapshot* snapshot = m_dataSet.snapshot();
    for (const Column& column : m_columns)
        m_snapshotColumns.push_back(snapshot ? snapshot->columnIndex(column.field) : -1);
    endResetModel();
    if (m_grid && rowCount() > 0)
        followDataSet(m_dataSet.currentRow());
}

void TDataSource::followDataSet(int row)
{
    if (!m_grid || row < 0 || row >= rowCount())
        return;
    const QModelIndex target = index(row, qMax(0, m_grid->currentIndex().column()));
    if (m_grid->currentIndex().row() != row)
        m_grid->setCurrentIndex(target);
}

int TDataSource::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_dataSet.snapshot())
        return 0;
    return m_dataSet.snapshot()->rowCount();
}

int TDataSource::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TDataSource::data(const QModelIndex& index, int role) const
{
    const Snapshot* snapshot = m_dataSet.snapshot();
    if (!snapshot || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    const int column = m_snapshotColumns[index.column()];
    if (column < 0 || index.row() >= snapshot->rowCount())
        return QVariant();
    return snapshot->text(index.row(), column);
}

QVariant TDataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < int(m_columns.size()))
        return m_columns[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}
