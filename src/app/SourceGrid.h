#pragma once

#include <QAbstractTableModel>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "media/SourceList.h"

class QObject;
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

// Whether `text` is a whole time code the cell editors hand back: hours of two digits or more
// (three from 100 hours on), minutes and seconds of two digits below 60. On success `code`
// holds it written the standard way (hours with leading zeros cut to two digits).
bool ReadEditedTimeCode(const std::string& text, std::string& code);

// The grid `dxTreeSourceFileInfo`: a flat, multi-selection QTreeView over the rows, as the core
// reaches it through ISourceList.
//
// The Start Time and End Time cells have editors, opened by a click on the cell of a selected
// row: a line that takes a time code hh:mm:ss (hhh:mm:ss and longer from 100 hours on). An
// emptied editor leaves the cell empty; an editor left with an unfinished code leaves the cell
// as it was. The start editor reports each change to another whole time code at once
// (StartTimeChanged); every edit that ends, however it ends, is reported by EditEnded.
class TSourceGrid : public ISourceList {
public:
    explicit TSourceGrid(QWidget* parent);

    // The start-time editor's value changed to another whole time code (the text is not in the
    // cell yet: the edit ends when the row gives up the focus).
    std::function<void()> StartTimeChanged;
    // An edit of a cell ended; the editor's text is in the cell.
    std::function<void()> EditEnded;
    // A drag of rows that began in the grid ended: dropped on the grid itself or not (on another
    // control, which takes no drop, or outside the program).
    std::function<void(bool overGrid)> DragEnded;
    // Where the drop of such a drag went (null: nowhere in the program).
    void EndDrag(QObject* target);
    // Runs `action` without reporting the edits that end inside it.
    void WithoutEditEnded(const std::function<void()>& action);
    // The open cell editor, or null.
    QWidget* CellEditor() const;

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
    friend class TSourceGridView;
    void OnEditorClosed();

    TSourceRowsModel* model_;
    QTreeView* view_;
    bool quietEditEnd_ = false;
};
