#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>
#include <vector>

class QTableView;
class TADOQuery;

// Shows a query object's open result in a grid. The grid's current row is
// the query object's current row, in both directions; reopening the query
// refreshes the grid, and a closed query shows no rows.
class TDataSource : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString field;
        QString title;
        int width;
    };

    TDataSource(TADOQuery& dataSet, std::vector<Column> columns, QObject* parent = nullptr);

    // Makes this the grid's model and sets the column titles and widths.
    void attach(QTableView* grid);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void reset();
    void followDataSet(int row);

    TADOQuery& m_dataSet;
    std::vector<Column> m_columns;
    std::vector<int> m_snapshotColumns; // snapshot column of each grid column, -1 if absent
    QPointer<QTableView> m_grid;
};
