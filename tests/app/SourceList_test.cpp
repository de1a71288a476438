// The source list in the real window: removal by button, Ctrl+R and Delete, clearing, and the
// marker strips that follow the list.
#include <gtest/gtest.h>

#include <QTest>
#include <QTreeView>
#include <string>
#include <vector>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"

namespace {

class AppSourceList : public ::testing::Test {
protected:
    TSourceGrid& Grid() { return test.Main().dxTreeSourceFileInfo(); }

    // Rows named "/clips/1.mp4" ... "/clips/<count>.mp4", each 100 s long, starting at 10 s.
    void AddRows(int count) {
        for (int n = 1; n <= count; ++n) {
            const int row = Grid().AppendRow();
            const std::string cells[kSourceColumnCount] = {
                kChecked, "/clips/" + std::to_string(n) + ".mp4", "1 MB", "00:01:40",
                "00:00:10", "00:01:40", "00:01:30"};
            for (int column = 0; column < kSourceColumnCount; ++column)
                Grid().SetCell(row, column, cells[column]);
        }
    }

    // The numbers of the rows left, from their names.
    std::vector<int> RowNumbers() {
        std::vector<int> numbers;
        for (int row = 0; row < Grid().RowCount(); ++row) {
            const std::string name = Grid().Cell(row, colFileName);
            numbers.push_back(std::stoi(name.substr(7)));
        }
        return numbers;
    }

    std::vector<int> SelectedRows() {
        std::vector<int> rows;
        for (int row = 0; row < Grid().RowCount(); ++row)
            if (Grid().IsSelected(row)) rows.push_back(row);
        return rows;
    }

    void Select(const std::vector<int>& rows, int focused) {
        Grid().View().selectionModel()->clearSelection();
        Grid().SetFocusedRow(focused);
        for (int row : rows) Grid().SetSelected(row, true);
    }

    int LeftStrip() { return test.Main().Panel2->width(); }
    int RightStrip() { return test.Main().Panel3->width(); }

    TestProgramFolder folder;
    TestProgram test{folder};
};

// Rows dragged out of the grid and dropped on another control go as by the Remove button.
enum class RemoveBy { Button, CtrlR, DeleteKey, DragOut };

struct RemovalCase {
    const char* name;
    int rows;
    std::vector<int> selected;  // 0-based
    int focused;                // 0-based, -1 for none
    std::vector<int> left;      // row numbers, 1-based
    int focusedAfter;           // 0-based, -1 for none
    std::vector<int> selectedAfter;
};

const RemovalCase kRemovalCases[] = {
    {"two of five, the lower focused", 5, {1, 3}, 3, {1, 3, 5}, 1, {1}},
    {"the first row, focused", 5, {0}, 0, {2, 3, 4, 5}, -1, {}},
    {"nothing selected", 3, {}, 2, {1, 2, 3}, 2, {}},
    {"all rows", 3, {0, 1, 2}, 1, {}, -1, {}},
    // The first row focused notes no row above it: the focus stays, nothing gets selected.
    {"the last row, the first focused", 4, {3}, 0, {1, 2, 3}, 0, {}},
    {"the focused row unselected", 5, {0, 4}, 2, {2, 3, 4}, 0, {0}},
};

TEST_F(AppSourceList, RemovalKeepsTheUnselectedRowsAndFocusesTheRowAboveTheFocusedOne) {
    for (RemoveBy by : {RemoveBy::Button, RemoveBy::CtrlR, RemoveBy::DeleteKey, RemoveBy::DragOut}) {
        for (const RemovalCase& c : kRemovalCases) {
            SCOPED_TRACE(std::string(c.name) + " by " + std::to_string(static_cast<int>(by)));
            Grid().DeleteAllRows();
            AddRows(c.rows);
            Select(c.selected, c.focused);
            switch (by) {
                case RemoveBy::Button: test.Main().btnRemoveFile->click(); break;
                case RemoveBy::CtrlR: QTest::keyClick(&test.Main(), Qt::Key_R, Qt::ControlModifier); break;
                case RemoveBy::DeleteKey: QTest::keyClick(&Grid().View(), Qt::Key_Delete); break;
                case RemoveBy::DragOut: Grid().EndDrag(test.Main().DSVideoWindowEx1); break;
            }
            EXPECT_EQ(RowNumbers(), c.left);
            EXPECT_EQ(Grid().FocusedRow(), c.focusedAfter);
            EXPECT_EQ(SelectedRows(), c.selectedAfter);
        }
    }
}

// Where a drag of rows ended, as the grid's view reports it once the drag's loop is over (a drag
// synthesized on the offscreen platform never reaches a drop target, so the report is given
// here directly).
TEST_F(AppSourceList, ADragEndingOnTheGridRemovesNothingAndOneEndingOutsideTheProgramRemoves) {
    AddRows(3);
    Select({1}, 1);
    Grid().EndDrag(&Grid().View());
    Grid().EndDrag(Grid().View().viewport());
    EXPECT_EQ(RowNumbers(), (std::vector<int>{1, 2, 3}));
    Grid().EndDrag(nullptr);
    EXPECT_EQ(RowNumbers(), (std::vector<int>{1, 3}));
}

TEST_F(AppSourceList, OtherKeysInTheGridRemoveNothing) {
    AddRows(3);
    Select({1}, 1);
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Space, Qt::Key_R, Qt::Key_Insert}) {
        QTest::keyClick(&Grid().View(), key);
    }
    EXPECT_EQ(RowNumbers(), (std::vector<int>{1, 2, 3}));
}

TEST_F(AppSourceList, TheMarkersFollowTheSelectedRowAndResetWhenTheListEmpties) {
    AddRows(2);
    Select({0}, 0);
    test.Main().SegmentMarkers().ShowSelectedFile();
    // 10 s of 100 s over the 220 pixels of room, plus one.
    EXPECT_EQ(LeftStrip(), 23);
    EXPECT_EQ(test.Main().Splitter1->x(), 23);
    EXPECT_EQ(test.Main().Splitter2->x() + test.Main().Splitter2->width() + RightStrip(), 260);

    test.Main().btnRemoveFile->click();  // one row left: the markers stay where they were
    EXPECT_EQ(Grid().RowCount(), 1);
    EXPECT_EQ(LeftStrip(), 23);

    Select({0}, 0);
    QTest::keyClick(&Grid().View(), Qt::Key_Delete);
    EXPECT_EQ(Grid().RowCount(), 0);
    EXPECT_EQ(LeftStrip(), 2);
    EXPECT_EQ(RightStrip(), 2);
    EXPECT_EQ(test.Main().Splitter1->x(), 2);
}

TEST_F(AppSourceList, ClearEmptiesTheListAndResetsTheMarkersByButtonAndCtrlL) {
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Ctrl+L" : "button");
        AddRows(4);
        Select({2}, 2);
        test.Main().SegmentMarkers().ShowSelectedFile();
        ASSERT_EQ(LeftStrip(), 23);
        if (byKey)
            QTest::keyClick(&test.Main(), Qt::Key_L, Qt::ControlModifier);
        else
            test.Main().btnClearFile->click();
        EXPECT_EQ(Grid().RowCount(), 0);
        EXPECT_EQ(LeftStrip(), 2);
        EXPECT_EQ(RightStrip(), 2);
    }
}

TEST_F(AppSourceList, TheCheckCellIsTrueOrFalseByTheTick) {
    AddRows(2);
    QAbstractItemModel& model = *Grid().View().model();
    EXPECT_EQ(model.data(model.index(0, colCheckStatus), Qt::CheckStateRole).toInt(), Qt::Checked);
    ASSERT_TRUE(model.setData(model.index(0, colCheckStatus), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(Grid().Cell(0, colCheckStatus), kUnchecked);
    EXPECT_EQ(Grid().Cell(1, colCheckStatus), kChecked);
    ASSERT_TRUE(model.setData(model.index(0, colCheckStatus), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(Grid().Cell(0, colCheckStatus), kChecked);
    EXPECT_EQ(model.headerData(colCutTime, Qt::Horizontal, Qt::DisplayRole).toString(), "Cut Time");
}

}  // namespace
