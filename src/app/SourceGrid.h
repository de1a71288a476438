#pragma once

#include <QAbstractTableModel>
#include <array>
#include <string>
#include <vector>

#include "media/SourceList.h"

class QTreeView;
class QWidget;

// The rows of the source list: seven text cells each, the only store of per-file data.
class TSourceRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Row = std::array<std::string, kSourceColumnCount>;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, const std::string& text);
    int AppendRow();
    void DeleteRow(int row);
    void DeleteAllRows();

private:
    std::vector<Row> rows_;
};

// The grid `dxTreeSourceFileInfo`: a flat, multi-selection QTreeView over the rows, as the core
// reaches it through ISourceList.
class TSourceGrid : public ISourceList {
public:
    explicit TSourceGrid(QWidget* parent);

    int RowCount() const override;
    std::string Cell(int row, int column) const override;
    void SetCell(int row, int column, const std::string& text) override;
    int AppendRow() override;
    void DeleteRow(int row) override;
    void DeleteAllRows() override;
    bool IsSelected(int row) const override;
    void SetSelected(int row, bool selected) override;
    int FocusedRow() const override;
    void SetFocusedRow(int row) override;
    void BeginUpdate() override;
    void EndUpdate() override;
    void Refresh() override;

    QTreeView& View() { return *view_; }

private:
    TSourceRowsModel* model_;
    QTreeView* view_;
};
