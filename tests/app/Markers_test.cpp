// The segment markers in the real window: drags by the mouse that follow it live within the
// 1-pixel limits, the bounds they write for the selected rows, the nudges by clicks on the outer
// strips, the markers' painting, and the Start Time and End Time editors with the validation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <string>
#include <vector>

#include "MarkerDrag.h"
#include "TestProgramFolder.h"
#include "app/FrmMainForm.h"
#include "app/SegmentBar.h"
#include "fakes/TempFolder.h"

namespace {

class AppMarkers : public ::testing::Test {
protected:
    // A 100-second clip, made once: few, tiny frames.
    static void SetUpTestSuite() {
        clips = new TempFolder;
        const std::string command =
            "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=64x48:rate=2:duration=100 "
            "-c:v mpeg4 '" + (*clips / "hundred seconds.mp4") + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void TearDownTestSuite() {
        delete clips;
        clips = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(test.Start()); }

    TFrmMainForm& Main() { return test.Main(); }
    TSourceGrid& Grid() { return Main().dxTreeSourceFileInfo(); }
    int LeftStrip() { return Main().Panel2->width(); }
    int RightStrip() { return Main().Panel3->width(); }
    std::string Cell(int row, int column) { return Grid().Cell(row, column); }

    int AddRow(const std::string& path, const std::string& duration, const std::string& start,
               const std::string& end) {
        const int row = Grid().AppendRow();
        const std::string cells[kSourceColumnCount] = {kChecked, path, "1 MB", duration, start, end, ""};
        for (int column = 0; column < kSourceColumnCount; ++column) Grid().SetCell(row, column, cells[column]);
        return row;
    }

    QPoint CellCentre(int row, int column) {
        QTreeView& view = Grid().View();
        return view.visualRect(view.model()->index(row, column)).center();
    }
    // A click on a cell of the grid, as the user makes it.
    void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(Grid().View().viewport(), Qt::LeftButton, modifiers, CellCentre(row, column));
    }

    static TempFolder* clips;
    TestProgramFolder folder;
    TestProgram test{folder};
};

TempFolder* AppMarkers::clips = nullptr;

TEST_F(AppMarkers, DragsFollowTheMouseLiveAndGiveWholePercentsOfTheDuration) {
    Main().AddFiles({*clips / "hundred seconds.mp4"});
    ASSERT_EQ(Cell(0, colDuration), "00:01:40");
    ASSERT_EQ(LeftStrip(), 1);
    ASSERT_EQ(RightStrip(), 1);

    // Live: while the button is still held, the strip and the cells have followed.
    QWidget* start = Main().Splitter1;
    const QPoint grip = start->mapToGlobal(QPoint(9, 9));
    QTest::mousePress(start, Qt::LeftButton, {}, QPoint(9, 9));
    for (int moved = 1; moved <= 30; ++moved)
        QTest::mouseMove(start, start->mapFromGlobal(grip + QPoint(moved, 0)));
    EXPECT_EQ(LeftStrip(), 31);
    EXPECT_EQ(start->x(), 31);
    EXPECT_EQ(Cell(0, colStartTime), "00:00:13");  // ((31 - 3) × 121) div 260 = 13 percent
    for (int moved = 31; moved <= 110; ++moved)
        QTest::mouseMove(start, start->mapFromGlobal(grip + QPoint(moved, 0)));
    QTest::mouseRelease(start, Qt::LeftButton, {}, start->mapFromGlobal(grip + QPoint(110, 0)));
    EXPECT_EQ(LeftStrip(), 111);
    EXPECT_EQ(Cell(0, colStartTime), "00:00:50");
    EXPECT_EQ(Cell(0, colCutTime), "00:00:50");
    EXPECT_EQ(Main().SegmentMarkers().PlayStartSeconds, 50);

    // The end marker fully right is 101 percent.
    DragMarker(Main().Splitter2, -40);
    EXPECT_EQ(RightStrip(), 41);
    DragMarker(Main().Splitter2, 200);
    EXPECT_EQ(RightStrip(), 1);
    EXPECT_EQ(Cell(0, colEndTime), "00:01:41");
    EXPECT_EQ(Main().SegmentMarkers().StopAtTime, "00:01:41");
    EXPECT_EQ(Cell(0, colCutTime), "00:00:51");

    // Neither outer strip nor the segment gets narrower than 1 pixel.
    DragMarker(Main().Splitter1, -300);
    EXPECT_EQ(LeftStrip(), 1);
    EXPECT_EQ(Cell(0, colStartTime), "00:00:00");
    DragMarker(Main().Splitter1, 400);
    EXPECT_EQ(Main().Panel4->width(), 1);
    EXPECT_EQ(LeftStrip(), 220);
    EXPECT_EQ(Cell(0, colStartTime), "00:01:40");
    DragMarker(Main().Splitter2, -50);
    EXPECT_EQ(RightStrip(), 1);
    EXPECT_EQ(Main().Panel4->width(), 1);
    EXPECT_EQ(Main().Panel1->width(), 260);
    EXPECT_TRUE(test.boxes.Shown.empty());
}

TEST_F(AppMarkers, TwoSelectedRowsGetTheSameBoundFromTheDurationTheMarkersWerePlacedFor) {
    AddRow("/clips/long.mp4", "00:01:40", "00:00:00", "00:01:40");
    AddRow("/clips/short.mp4", "00:00:10", "00:00:00", "00:00:10");
    AddRow("/clips/other.mp4", "00:00:20", "00:00:00", "00:00:20");
    ClickCell(0, colFileName);
    ClickCell(1, colFileName, Qt::ControlModifier);
    ASSERT_TRUE(Grid().IsSelected(0));
    ASSERT_TRUE(Grid().IsSelected(1));
    ASSERT_FALSE(Grid().IsSelected(2));
    // Placed for each selected row in turn: the last one's duration stands.
    EXPECT_EQ(Main().SegmentMarkers().DurationSeconds, 10);

    DragMarker(Main().Splitter1, 110);
    EXPECT_EQ(Cell(0, colStartTime), "00:00:05");
    EXPECT_EQ(Cell(1, colStartTime), "00:00:05");
    EXPECT_EQ(Cell(0, colCutTime), "00:01:35");
    EXPECT_EQ(Cell(1, colCutTime), "00:00:05");
    EXPECT_EQ(Cell(2, colStartTime), "00:00:00");

    DragMarker(Main().Splitter2, -110);
    EXPECT_EQ(Cell(0, colEndTime), "00:00:05");
    EXPECT_EQ(Cell(1, colEndTime), "00:00:05");
    EXPECT_EQ(Cell(2, colEndTime), "00:00:20");

    // The end marker's time stays when another row is selected.
    ClickCell(2, colFileName);
    EXPECT_EQ(Main().SegmentMarkers().StopAtTime, "00:00:05");
}

TEST_F(AppMarkers, AClickOnAnOuterStripNudgesItsMarkerByTheModifiersStep) {
    AddRow("/clips/whole.mp4", "00:01:40", "00:00:00", "00:01:40");
    AddRow("/clips/middle.mp4", "00:01:40", "00:00:25", "00:01:15");
    AddRow("/clips/near-start.mp4", "00:01:40", "00:00:01", "00:01:40");

    enum Strip { Left, Middle, Right };
    struct Case {
        const char* label;
        int row;
        Strip strip;
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        bool doubleClick;
        int left, right;         // strip widths after the click
        const char *start, *end;  // cells after the click
    };
    const Qt::KeyboardModifiers none, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const Case cases[] = {
        {"plain", 1, Left, Qt::LeftButton, none, false, 51, 56, "00:00:22", "00:01:15"},
        {"shift", 1, Left, Qt::LeftButton, shift, false, 46, 56, "00:00:20", "00:01:15"},
        {"ctrl", 1, Left, Qt::LeftButton, ctrl, false, 55, 56, "00:00:24", "00:01:15"},
        {"ctrl, double-click", 1, Left, Qt::LeftButton, ctrl, true, 55, 56, "00:00:24", "00:01:15"},
        {"ctrl and shift", 1, Left, Qt::LeftButton, ctrl | shift, false, 51, 56, "00:00:22", "00:01:15"},
        {"ctrl and alt", 1, Left, Qt::LeftButton, ctrl | Qt::AltModifier, false, 51, 56, "00:00:22", "00:01:15"},
        {"right button", 1, Left, Qt::RightButton, ctrl, false, 56, 56, "00:00:25", "00:01:15"},
        {"right strip, plain", 1, Right, Qt::LeftButton, none, false, 56, 51, "00:00:25", "00:01:18"},
        {"right strip, shift", 1, Right, Qt::LeftButton, shift, false, 56, 46, "00:00:25", "00:01:20"},
        {"right strip, ctrl", 1, Right, Qt::LeftButton, ctrl, false, 56, 55, "00:00:25", "00:01:16"},
        {"the segment", 1, Middle, Qt::LeftButton, none, false, 56, 56, "00:00:25", "00:01:15"},
        {"a 3-pixel strip, plain", 2, Left, Qt::LeftButton, none, false, 3, 1, "00:00:01", "00:01:40"},
        {"a 1-pixel strip, ctrl", 0, Right, Qt::LeftButton, ctrl, false, 1, 1, "00:00:00", "00:01:40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // Fresh cells, and markers placed for them from the far ends.
        AddRow("/clips/reset.mp4", "00:01:40", "00:00:00", "00:01:40");
        Grid().SetCell(1, colStartTime, "00:00:25");
        Grid().SetCell(1, colEndTime, "00:01:15");
        ClickCell(3, colFileName);
        ClickCell(c.row, colFileName);
        Grid().DeleteRow(3);
        ASSERT_EQ(LeftStrip(), c.row == 1 ? 56 : c.row == 2 ? 3 : 1);
        QWidget* strip = c.strip == Left ? Main().Panel2 : c.strip == Right ? Main().Panel3 : Main().Panel4;
        const QPoint inside(strip->width() / 2, 9);
        if (c.doubleClick) {
            QTest::mouseDClick(strip, c.button, c.modifiers, inside);
            QTest::mouseRelease(strip, c.button, c.modifiers, inside);
        } else {
            QTest::mouseClick(strip, c.button, c.modifiers, inside);
        }
        EXPECT_EQ(LeftStrip(), c.left);
        EXPECT_EQ(RightStrip(), c.right);
        EXPECT_EQ(Cell(c.row, colStartTime), c.start);
        EXPECT_EQ(Cell(c.row, colEndTime), c.end);
    }
}

TEST_F(AppMarkers, TheMarkersPaintTheirGlyphsWithBlackInTheButtonColour) {
    QPixmap glyph(17, 19);
    glyph.fill(Qt::black);
    QPainter(&glyph).fillRect(0, 0, 17, 9, QColor(200, 30, 40));
    Main().imgL->setPixmap(glyph);
    QTest::qWait(30);  // the 10 ms paint timer
    const QImage shown = Main().Splitter1->grab().toImage();
    EXPECT_EQ(shown.pixelColor(9, 3), QColor(200, 30, 40));
    EXPECT_EQ(shown.pixelColor(9, 15), Main().Splitter1->palette().color(QPalette::Button));
    // The end marker keeps its own glyph.
    const QImage end = Main().Splitter2->grab().toImage();
    EXPECT_NE(end.pixelColor(9, 3), QColor(200, 30, 40));
}

// The editors of the Start Time and End Time columns, and the validation when an edit ends.
TEST_F(AppMarkers, TheTimeEditorsCommitAndTheCellsAreChecked) {
    enum Leave { AtOnce, ByReturn, ByClickElsewhere, ByEscape };
    struct Case {
        const char* label;
        const char* duration;
        int column;
        const char* typed;  // "" empties the editor
        Leave leave;
        const char *start, *end, *cut;
    };
    const Case cases[] = {
        {"start inside", "00:01:40", colStartTime, "00:00:20", AtOnce, "00:00:20", "00:01:00", "00:00:40"},
        {"start after the end", "00:01:40", colStartTime, "00:01:10", AtOnce, "00:01:10", "00:01:10", "00:00:00"},
        {"start beyond the duration", "00:01:40", colStartTime, "00:02:00", AtOnce, "00:01:40", "00:01:40",
         "00:00:00"},
        {"start emptied", "00:01:40", colStartTime, "", ByReturn, "00:00:00", "00:01:00", "00:01:00"},
        {"end inside", "00:01:40", colEndTime, "00:00:30", ByReturn, "00:00:10", "00:00:30", "00:00:20"},
        {"end left by a click", "00:01:40", colEndTime, "00:00:45", ByClickElsewhere, "00:00:10", "00:00:45",
         "00:00:35"},
        {"end before the start", "00:01:40", colEndTime, "00:00:05", ByReturn, "00:00:10", "00:00:10",
         "00:00:00"},
        {"end beyond the duration", "00:01:40", colEndTime, "00:02:00", ByReturn, "00:00:10", "00:01:40",
         "00:01:30"},
        {"end emptied", "00:01:40", colEndTime, "", ByReturn, "00:00:10", "00:01:40", "00:01:30"},
        // Return does not take an unfinished code; leaving the cell keeps what it held.
        {"end unfinished", "00:01:40", colEndTime, "00:3", ByClickElsewhere, "00:00:10", "00:01:00",
         "00:00:50"},
        {"end cancelled", "00:01:40", colEndTime, "00:00:30", ByEscape, "00:00:10", "00:01:00", "00:00:50"},
        {"hours written long", "00:01:40", colEndTime, "000:01:05", ByReturn, "00:00:10", "00:01:05",
         "00:00:55"},
        {"100-hour start", "123:00:00", colStartTime, "100:00:00", AtOnce, "100:00:00", "100:00:00",
         "00:00:00"},
        {"100-hour end", "123:00:00", colEndTime, "110:30:00", ByReturn, "00:00:10", "110:30:00",
         "110:29:50"},
        {"100-hour end beyond", "123:00:00", colEndTime, "150:00:00", ByReturn, "00:00:10", "123:00:00",
         "122:59:50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Grid().DeleteAllRows();
        AddRow("/clips/a.mp4", c.duration, "00:00:10", "00:01:00");
        AddRow("/clips/b.mp4", c.duration, "00:00:10", "00:01:00");  // not selected: untouched
        ClickCell(0, c.column);
        auto* editor = qobject_cast<QLineEdit*>(Grid().CellEditor());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->text().toStdString(), Cell(0, c.column));
        if (*c.typed == '\0') {
            QTest::keyClick(editor, Qt::Key_Delete);
        } else {
            QTest::keyClicks(editor, c.typed);
        }
        switch (c.leave) {
            case AtOnce: break;  // the start editor commits with the last key
            case ByReturn: QTest::keyClick(editor, Qt::Key_Return); break;
            case ByEscape: QTest::keyClick(editor, Qt::Key_Escape); break;
            case ByClickElsewhere: ClickCell(0, colFileName); break;
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return Grid().CellEditor() == nullptr; }, 1000));
        EXPECT_EQ(Cell(0, colStartTime), c.start);
        EXPECT_EQ(Cell(0, colEndTime), c.end);
        EXPECT_EQ(Cell(0, colCutTime), c.cut);
        EXPECT_EQ(Cell(1, colStartTime), "00:00:10");
        EXPECT_EQ(Cell(1, colEndTime), "00:01:00");
        EXPECT_EQ(Cell(1, colCutTime), "");
    }
    EXPECT_TRUE(test.boxes.Shown.empty());
}

TEST_F(AppMarkers, TheEditorsOpenOnTheTimeCellsOfASelectedRowOnly) {
    AddRow("/clips/a.mp4", "00:01:40", "00:00:10", "00:01:00");
    AddRow("/clips/b.mp4", "00:01:40", "00:00:10", "00:01:00");
    for (int column : {colCheckStatus, colFileName, colFileSize, colDuration, colCutTime}) {
        ClickCell(0, column);
        EXPECT_EQ(Grid().CellEditor(), nullptr) << column;
    }
    ClickCell(0, colFileName);
    ClickCell(1, colFileName, Qt::ControlModifier);
    ASSERT_TRUE(Grid().IsSelected(1));
    ClickCell(1, colStartTime, Qt::ControlModifier);  // deselects row 1
    ASSERT_FALSE(Grid().IsSelected(1));
    EXPECT_EQ(Grid().CellEditor(), nullptr);
    ClickCell(0, colEndTime);
    EXPECT_NE(Grid().CellEditor(), nullptr);
}

}  // namespace
