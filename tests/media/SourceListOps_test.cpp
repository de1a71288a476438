#include "media/SourceListOps.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/CountingMessagePump.h"
#include "fakes/MemorySourceList.h"

namespace {

MemorySourceList FiveRows() {
    MemorySourceList grid;
    for (const char* name : {"/v/1.avi", "/v/2.avi", "/v/3.avi", "/v/4.avi", "/v/5.avi"}) {
        grid.AddFile(name);
    }
    return grid;
}

TEST(MediaRemoveSelectedFiles, FocusMovesToTheRowAboveTheFocusedOne) {
    const struct {
        const char* label;
        int focused;
        std::vector<int> selected;
        std::vector<std::string> left;
        int focusedAfter;
        std::vector<int> selectedAfter;
    } cases[] = {
        {"rows 2 and 4 selected, 4 focused", 3, {1, 3},
         {"/v/1.avi", "/v/3.avi", "/v/5.avi"}, 1, {1}},
        {"first row focused and selected", 0, {0}, {"/v/2.avi", "/v/3.avi", "/v/4.avi", "/v/5.avi"},
         -1, {}},
        {"no focused row", -1, {4}, {"/v/1.avi", "/v/2.avi", "/v/3.avi", "/v/4.avi"}, -1, {}},
        {"noted row itself removed", 2, {1, 2}, {"/v/1.avi", "/v/4.avi", "/v/5.avi"}, -1, {}},
        {"rows above the noted row removed", 4, {0, 1, 4}, {"/v/3.avi", "/v/4.avi"}, 1, {1}},
        {"everything selected", 2, {0, 1, 2, 3, 4}, {}, -1, {}},
    };
    for (const auto& c : cases) {
        MemorySourceList grid = FiveRows();
        grid.focused = c.focused;
        for (int row : c.selected) grid.rows[row].selected = true;
        CountingMessagePump pump;

        RemoveSelectedFiles(grid, pump);

        EXPECT_EQ(grid.Paths(), c.left) << c.label;
        EXPECT_EQ(grid.FocusedRow(), c.focusedAfter) << c.label;
        EXPECT_EQ(grid.SelectedRows(), c.selectedAfter) << c.label;
        EXPECT_EQ(grid.beginUpdateCalls, 1) << c.label;
        EXPECT_EQ(grid.endUpdateCalls, 1) << c.label;
        // Once before the loop, once per pass including the last one that finds nothing.
        EXPECT_EQ(pump.calls, static_cast<int>(c.selected.size()) + 2) << c.label;
    }
}

TEST(MediaRemoveSelectedFiles, NothingSelectedDoesNothing) {
    MemorySourceList grid = FiveRows();
    grid.focused = 3;
    CountingMessagePump pump;
    RemoveSelectedFiles(grid, pump);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.FocusedRow(), 3);
    EXPECT_EQ(pump.calls, 0);
    EXPECT_EQ(grid.beginUpdateCalls, 0);
}

TEST(MediaRemoveSelectedFiles, FailingDeleteStillEndsUpdateAndFocusesThenRethrows) {
    MemorySourceList grid = FiveRows();
    grid.focused = 4;
    grid.rows[1].selected = true;
    grid.rows[2].selected = true;
    CountingMessagePump pump;
    // The first pass deletes "/v/2.avi"; the second fails on "/v/3.avi", now at index 1.
    pump.onPump = [&] {
        if (grid.RowCount() == 4) grid.failDeleteRow = 1;
    };

    EXPECT_THROW(RemoveSelectedFiles(grid, pump), std::runtime_error);
    EXPECT_EQ(grid.Paths(), (std::vector<std::string>{"/v/1.avi", "/v/3.avi", "/v/4.avi", "/v/5.avi"}));
    EXPECT_EQ(grid.endUpdateCalls, 1);
    // "/v/4.avi" stood above the focused row and is focused and selected.
    EXPECT_EQ(grid.FocusedRow(), 2);
    EXPECT_TRUE(grid.IsSelected(2));
}

TEST(MediaRemoveSelectedFiles, RowsRemovedByAMessageMeanwhileAreTolerated) {
    MemorySourceList grid = FiveRows();
    for (auto& row : grid.rows) row.selected = true;
    CountingMessagePump pump;
    pump.onPump = [&] {
        if (grid.RowCount() == 3) grid.rows.erase(grid.rows.begin());
    };
    RemoveSelectedFiles(grid, pump);
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_EQ(grid.endUpdateCalls, 1);
}

TEST(MediaClearFileList, ReportsTheGridsFailureAsFalse) {
    MemorySourceList grid = FiveRows();
    EXPECT_TRUE(ClearFileList(grid));
    EXPECT_EQ(grid.RowCount(), 0);

    MemorySourceList failing = FiveRows();
    failing.failDeleteAll = true;
    failing.failDeleteAllAfter = 2;
    EXPECT_FALSE(ClearFileList(failing));
    EXPECT_EQ(failing.Paths(), (std::vector<std::string>{"/v/3.avi", "/v/4.avi", "/v/5.avi"}));
}

}  // namespace
