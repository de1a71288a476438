#include "app/SourceGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

#include "app/QtText.h"

namespace {

const char* const kHeaders[kSourceColumnCount] = {"",           "File Name",  "File Size", "Duration",
                                                  "Start Time", "End Time", "Cut Time"};

bool ValidRow(int row, size_t count) { return row >= 0 && static_cast<size_t>(row) < count; }

}  // namespace

int TSourceRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TSourceRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kSourceColumnCount;
}

QVariant TSourceRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !ValidRow(index.row(), rows_.size())) return {};
    const std::string& cell = rows_[static_cast<size_t>(index.row())][static_cast<size_t>(index.column())];
    if (index.column() == colCheckStatus) {
        if (role == Qt::CheckStateRole) return cell == kChecked ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) return ToQt(cell);
    if (role == Qt::ToolTipRole && index.column() == colFileName) return ToQt(cell);
    return {};
}

bool TSourceRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != colCheckStatus || role != Qt::CheckStateRole)
        return false;
    const bool ticked = value.toInt() == Qt::Checked;
    SetCell(index.row(), colCheckStatus, ticked ? kChecked : kUnchecked);
    return true;
}

Qt::ItemFlags TSourceRowsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == colCheckStatus) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant TSourceRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= kSourceColumnCount) return {};
    return QString(kHeaders[section]);
}

const std::string& TSourceRowsModel::Cell(int row, int column) const {
    static const std::string kEmpty;
    if (!ValidRow(row, rows_.size()) || column < 0 || column >= kSourceColumnCount) return kEmpty;
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void TSourceRowsModel::SetCell(int row, int column, const std::string& text) {
    if (!ValidRow(row, rows_.size()) || column < 0 || column >= kSourceColumnCount) return;
    rows_[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}

int TSourceRowsModel::AppendRow() {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), row, row);
    rows_.emplace_back();
    endInsertRows();
    return row;
}

void TSourceRowsModel::DeleteRow(int row) {
    if (!ValidRow(row, rows_.size())) return;
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void TSourceRowsModel::DeleteAllRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

TSourceGrid::TSourceGrid(QWidget* parent)
    : model_(new TSourceRowsModel(parent)), view_(new QTreeView(parent)) {
    view_->setObjectName("dxTreeSourceFileInfo");
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setAlternatingRowColors(true);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->header()->setSectionsMovable(false);
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(QHeaderView::Interactive);
    view_->header()->setSectionResizeMode(colFileName, QHeaderView::Stretch);
    const int widths[kSourceColumnCount] = {24, 0, 62, 62, 62, 62, 62};
    for (int column = 0; column < kSourceColumnCount; ++column) {
        if (widths[column] > 0) view_->setColumnWidth(column, widths[column]);
    }
}

int TSourceGrid::RowCount() const { return model_->rowCount(); }

std::string TSourceGrid::Cell(int row, int column) const { return model_->Cell(row, column); }

void TSourceGrid::SetCell(int row, int column, const std::string& text) {
    model_->SetCell(row, column, text);
}

int TSourceGrid::AppendRow() { return model_->AppendRow(); }

void TSourceGrid::DeleteRow(int row) {
    // A deleted focused row leaves no focused row behind (the view would move it to a neighbour).
    if (row >= 0 && row == FocusedRow()) SetFocusedRow(-1);
    model_->DeleteRow(row);
}

void TSourceGrid::DeleteAllRows() { model_->DeleteAllRows(); }

bool TSourceGrid::IsSelected(int row) const {
    return view_->selectionModel()->isRowSelected(row, QModelIndex());
}

void TSourceGrid::SetSelected(int row, bool selected) {
    if (row < 0 || row >= RowCount()) return;
    const QModelIndex index = model_->index(row, 0);
    view_->selectionModel()->select(
        index, (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                   QItemSelectionModel::Rows);
}

int TSourceGrid::FocusedRow() const {
    const QModelIndex current = view_->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TSourceGrid::SetFocusedRow(int row) {
    if (row < 0 || row >= RowCount()) {
        view_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    view_->selectionModel()->setCurrentIndex(model_->index(row, colFileName),
                                             QItemSelectionModel::NoUpdate);
}

void TSourceGrid::BeginUpdate() { view_->setUpdatesEnabled(false); }

void TSourceGrid::EndUpdate() { view_->setUpdatesEnabled(true); }

void TSourceGrid::Refresh() { view_->viewport()->update(); }
