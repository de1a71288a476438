#include "media/SourceListOps.h"

#include <exception>

namespace {

int FirstSelectedRow(const ISourceList& grid) {
    for (int row = 0; row < grid.RowCount(); ++row) {
        if (grid.IsSelected(row)) return row;
    }
    return -1;
}

}  // namespace

void RemoveSelectedFiles(ISourceList& grid, IMessagePump& pump) {
    if (FirstSelectedRow(grid) < 0) return;
    pump.ProcessMessages();

    // The row to receive the focus, followed by index as rows above it go.
    const int focused = grid.FocusedRow();
    int noted = focused > 0 ? focused - 1 : -1;

    grid.BeginUpdate();
    auto finish = [&] {
        if (noted >= 0 && noted < grid.RowCount()) {
            grid.SetFocusedRow(noted);
            grid.SetSelected(noted, true);
        }
        grid.EndUpdate();
    };
    try {
        for (;;) {
            pump.ProcessMessages();
            const int row = FirstSelectedRow(grid);
            if (row < 0) break;
            if (row == noted) noted = -1;
            grid.DeleteRow(row);
            if (noted > row) --noted;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

bool ClearFileList(ISourceList& grid) {
    try {
        grid.DeleteAllRows();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
