#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/SourceList.h"

// An in-memory source grid: rows of seven text cells, a selection flag per row, one focused row
// and counters of the repaint calls. Deleting can be made to fail for error-path tests.
class MemorySourceList : public ISourceList {
public:
    using Cells = std::array<std::string, kSourceColumnCount>;

    struct Row {
        Cells cells;
        bool selected = false;
    };

    std::vector<Row> rows;
    int focused = -1;
    int beginUpdateCalls = 0;
    int endUpdateCalls = 0;
    int refreshCalls = 0;
    // DeleteRow throws when the row's index equals this (or always when -2); DeleteAllRows throws
    // when failDeleteAll is set, after deleting the rows before failDeleteAllAfter.
    int failDeleteRow = -1;
    bool failDeleteAll = false;
    int failDeleteAllAfter = 0;

    // Appends a row with the given cells; returns its index.
    int Add(const Cells& cells, bool selected = false) {
        rows.push_back(Row{cells, selected});
        return static_cast<int>(rows.size()) - 1;
    }
    // A row for `path` with the usual cells of a listed file.
    int AddFile(const std::string& path, const std::string& duration = "00:01:40",
                const std::string& start = "00:00:00", const std::string& end = "",
                bool selected = false) {
        const std::string e = end.empty() ? duration : end;
        return Add({kChecked, path, "1 MB", duration, start, e, duration}, selected);
    }

    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::string Cell(int row, int column) const override { return rows.at(row).cells.at(column); }
    void SetCell(int row, int column, const std::string& text) override {
        rows.at(row).cells.at(column) = text;
    }
    int AppendRow() override {
        rows.emplace_back();
        return static_cast<int>(rows.size()) - 1;
    }
    void DeleteRow(int row) override {
        if (failDeleteRow == -2 || failDeleteRow == row) throw std::runtime_error("delete failed");
        rows.erase(rows.begin() + row);
        if (focused == row) focused = -1;
        else if (focused > row) --focused;
    }
    void DeleteAllRows() override {
        if (failDeleteAll) {
            rows.erase(rows.begin(), rows.begin() + failDeleteAllAfter);
            focused = -1;
            throw std::runtime_error("clear failed");
        }
        rows.clear();
        focused = -1;
    }
    bool IsSelected(int row) const override { return rows.at(row).selected; }
    void SetSelected(int row, bool selected) override { rows.at(row).selected = selected; }
    int FocusedRow() const override { return focused; }
    void SetFocusedRow(int row) override { focused = row; }
    void BeginUpdate() override { ++beginUpdateCalls; }
    void EndUpdate() override { ++endUpdateCalls; }
    void Refresh() override { ++refreshCalls; }

    // Cell 1 of every row, in order.
    std::vector<std::string> Paths() const {
        std::vector<std::string> out;
        for (const Row& r : rows) out.push_back(r.cells[colFileName]);
        return out;
    }
    std::vector<int> SelectedRows() const {
        std::vector<int> out;
        for (int i = 0; i < RowCount(); ++i) {
            if (rows[i].selected) out.push_back(i);
        }
        return out;
    }
};
