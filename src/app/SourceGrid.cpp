#include "app/SourceGrid.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "app/QtText.h"
#include "media/TimeCode.h"

namespace {

const char* const kHeaders[kSourceColumnCount] = {"",           "File Name",  "File Size", "Duration",
                                                  "Start Time", "End Time", "Cut Time"};

bool ValidRow(int row, size_t count) { return row >= 0 && static_cast<size_t>(row) < count; }

bool IsTimeColumn(int column) { return column == colStartTime || column == colEndTime; }

// Hours up to six digits keep every code within the seconds a cell can count.
const QRegularExpression& TimeCodePattern() {
    static const QRegularExpression pattern(R"(^(\d{2,6}):([0-5]\d):([0-5]\d)$)");
    return pattern;
}

}  // namespace

bool ReadEditedTimeCode(const std::string& text, std::string& code) {
    if (!TimeCodePattern().match(ToQt(text)).hasMatch()) return false;
    std::int64_t seconds = 0;
    if (!ReadTimeCode(text, seconds)) return false;
    code = SecondsToTimeCode(seconds);
    return true;
}

// The view of the grid: it tells the grid whenever a cell editor closes, whether it was left,
// confirmed, cancelled or closed because its row gave up the focus.
//
// Its rows can be dragged. It accepts every drag over itself and takes a drop on itself without
// changing anything; when a drag that began here ends, the grid learns where it was dropped.
class TSourceGridView : public QTreeView {
public:
    TSourceGridView(QWidget* parent, TSourceGrid& grid) : QTreeView(parent), grid_(grid) {
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDropIndicatorShown(false);
    }

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        QTreeView::closeEditor(editor, hint);
        grid_.OnEditorClosed();
    }

    void startDrag(Qt::DropActions) override {
        const QModelIndexList rows = selectionModel()->selectedRows();
        if (rows.isEmpty()) return;
        auto* drag = new QDrag(this);
        drag->setMimeData(model()->mimeData(rows));
        drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
        QObject* target = drag->target();
        drag->deleteLater();
        grid_.EndDrag(target);
    }
    // Files from a file manager go on to the window, which adds them wherever they are dropped.
    void dragEnterEvent(QDragEnterEvent* event) override { Take(*event); }
    void dragMoveEvent(QDragMoveEvent* event) override { Take(*event); }
    void dropEvent(QDropEvent* event) override { Take(*event); }

private:
    static void Take(QDropEvent& event) {
        if (event.mimeData()->hasUrls()) event.ignore();
        else event.acceptProposedAction();
    }

private:
    TSourceGrid& grid_;
};

namespace {

// Takes a whole time code, or nothing at all (an emptied cell is filled in by the validation);
// anything on the way to a time code is still being typed.
class TTimeCodeValidator : public QRegularExpressionValidator {
public:
    explicit TTimeCodeValidator(QObject* parent) : QRegularExpressionValidator(TimeCodePattern(), parent) {}
    State validate(QString& input, int& position) const override {
        if (input.isEmpty()) return Acceptable;
        return QRegularExpressionValidator::validate(input, position);
    }
};

// The editors of the Start Time and End Time columns.
class TTimeCellDelegate : public QStyledItemDelegate {
public:
    TTimeCellDelegate(QObject* parent, TSourceGrid& grid) : QStyledItemDelegate(parent), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (!IsTimeColumn(index.column())) return QStyledItemDelegate::createEditor(parent, option, index);
        auto* editor = new QLineEdit(parent);
        editor->setObjectName(index.column() == colStartTime ? "dxtrlSourceFileStartTime"
                                                             : "dxtrlSourceFileEndTime");
        editor->setValidator(new TTimeCodeValidator(editor));
        editor->setFrame(false);
        if (index.column() == colStartTime) {
            const QPersistentModelIndex cell(index);
            QObject::connect(editor, &QLineEdit::textEdited, editor, [this, cell](const QString& text) {
                std::string code;
                if (!cell.isValid() || !ReadEditedTimeCode(ToStd(text), code)) return;
                if (code == grid_.Cell(cell.row(), colStartTime)) return;
                if (grid_.StartTimeChanged) grid_.StartTimeChanged();
            });
        }
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line == nullptr) return QStyledItemDelegate::setEditorData(editor, index);
        line->setText(index.data(Qt::EditRole).toString());
        line->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line == nullptr) return QStyledItemDelegate::setModelData(editor, model, index);
        const std::string text = ToStd(line->text());
        std::string code;
        if (text.empty()) {
            model->setData(index, QString(), Qt::EditRole);  // the validation fills it in
        } else if (ReadEditedTimeCode(text, code)) {
            model->setData(index, ToQt(code), Qt::EditRole);
        }
        // An unfinished code leaves the cell as it was.
    }

private:
    TSourceGrid& grid_;
};

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
    if (!index.isValid()) return false;
    if (IsTimeColumn(index.column()) && role == Qt::EditRole) {
        SetCell(index.row(), index.column(), ToStd(value.toString()));
        return true;
    }
    if (index.column() != colCheckStatus || role != Qt::CheckStateRole) return false;
    const bool ticked = value.toInt() == Qt::Checked;
    SetCell(index.row(), colCheckStatus, ticked ? kChecked : kUnchecked);
    return true;
}

Qt::ItemFlags TSourceRowsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == colCheckStatus) flags |= Qt::ItemIsUserCheckable;
    if (IsTimeColumn(index.column())) flags |= Qt::ItemIsEditable;
    if (index.isValid()) flags |= Qt::ItemIsDragEnabled;
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
    : model_(new TSourceRowsModel(parent)), view_(new TSourceGridView(parent, *this)) {
    view_->setObjectName("dxTreeSourceFileInfo");
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setAlternatingRowColors(true);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The time editors open on a click (below), not on the view's own triggers.
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setItemDelegate(new TTimeCellDelegate(view_, *this));
    QObject::connect(view_, &QAbstractItemView::clicked, view_, [this](const QModelIndex& index) {
        if (!IsTimeColumn(index.column()) || !IsSelected(index.row())) return;
        view_->setCurrentIndex(index);
        view_->edit(index);
    });
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

void TSourceGrid::WithoutEditEnded(const std::function<void()>& action) {
    const bool before = quietEditEnd_;
    quietEditEnd_ = true;
    try {
        action();
    } catch (...) {
        quietEditEnd_ = before;
        throw;
    }
    quietEditEnd_ = before;
}

QWidget* TSourceGrid::CellEditor() const {
    // A closed editor is hidden at once and deleted later.
    for (QLineEdit* editor : view_->viewport()->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!editor->isHidden()) return editor;
    }
    return nullptr;
}

void TSourceGrid::OnEditorClosed() {
    if (!quietEditEnd_ && EditEnded) EditEnded();
}

void TSourceGrid::BeginUpdate() { view_->setUpdatesEnabled(false); }

void TSourceGrid::EndUpdate() { view_->setUpdatesEnabled(true); }

void TSourceGrid::Refresh() { view_->viewport()->update(); }

void TSourceGrid::EndDrag(QObject* target) {
    const bool overGrid = target != nullptr && (target == view_ || target == view_->viewport());
    if (DragEnded) DragEnded(overGrid);
}
