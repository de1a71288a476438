#pragma once

#include <string>

// Cell columns of a source row; every cell holds text.
enum SourceColumn : int {
    colCheckStatus = 0,  // "True" / "False"
    colFileName = 1,     // full path, the row's identity
    colFileSize = 2,
    colDuration = 3,     // time code
    colStartTime = 4,    // time code
    colEndTime = 5,      // time code
    colCutTime = 6,      // time code, display only
    kSourceColumnCount = 7
};

inline constexpr const char* kChecked = "True";
inline constexpr const char* kUnchecked = "False";

// The grid of source rows: the only store of per-file data. The window's table model implements
// it; tests use an in-memory list. Rows are numbered from 0 in list order.
class ISourceList {
public:
    virtual ~ISourceList() = default;

    virtual int RowCount() const = 0;
    virtual std::string Cell(int row, int column) const = 0;
    virtual void SetCell(int row, int column, const std::string& text) = 0;
    // Appends an empty row at the end and returns its index.
    virtual int AppendRow() = 0;
    // Deletes one row; rows after it move up. May throw when the grid fails.
    virtual void DeleteRow(int row) = 0;
    // Deletes every row. May throw when the grid fails.
    virtual void DeleteAllRows() = 0;

    virtual bool IsSelected(int row) const = 0;
    virtual void SetSelected(int row, bool selected) = 0;
    // The focused row, or -1 when none.
    virtual int FocusedRow() const = 0;
    virtual void SetFocusedRow(int row) = 0;

    // Repainting suspended between the two calls.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    // Lays out and repaints all rows.
    virtual void Refresh() = 0;
};

// Upper-cases the letters A to Z only.
std::string UpperAscii(const std::string& text);
// Index of the last row whose path equals `path` ignoring the case of A-Z, or -1.
int FindLastRowByPath(const ISourceList& list, const std::string& path);
