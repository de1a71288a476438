#include "media/SegmentMarkers.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/CountingMessagePump.h"
#include "fakes/MemorySourceList.h"
#include "storage/Errors.h"

namespace {

class FakeBar : public ISegmentBar {
public:
    int left = 1, right = 1;
    std::vector<int> barWidths;
    int leftSets = 0, rightSets = 0, endRepaints = 0;

    int LeftStripWidth() const override { return left; }
    void SetLeftStripWidth(int width) override { left = width, ++leftSets; }
    int RightStripWidth() const override { return right; }
    void SetRightStripWidth(int width) override { right = width, ++rightSets; }
    void SetBarWidth(int width) override { barWidths.push_back(width); }
    void RepaintEndMarker() override { ++endRepaints; }
};

class FakePreview : public IPreview {
public:
    std::string file;
    bool active = false;
    bool failSeek = false;
    int stops = 0;
    std::vector<std::int64_t> seeks;

    std::string PreviewFile() const override { return file; }
    void StopVideo() override {
        ++stops;
        file.clear();
        active = false;
    }
    bool IsActive() const override { return active; }
    void SetPlayPosition(std::int64_t ms) override {
        seeks.push_back(ms);
        if (failSeek) throw std::runtime_error("seek failed");
    }
};

class MediaSegmentMarkers : public ::testing::Test {
protected:
    MemorySourceList grid;
    FakeBar bar;
    FakePreview preview;
    CountingMessagePump pump;
    TSegmentMarkers markers{grid, bar, preview, pump};

    // One selected 100-second row with the markers placed for it.
    void PlacedHundredSeconds(const std::string& start = "00:00:00",
                              const std::string& end = "00:01:40") {
        grid.AddFile("/v/a.avi", "00:01:40", start, end, true);
        markers.ShowSelectedFile();
    }
};

TEST_F(MediaSegmentMarkers, PlacementWidthsRoundHalvesToEvenWithTolerances) {
    const struct {
        const char* dur;
        const char* st;
        const char* en;
        int w2Before, w3Before, w2, w3;
    } cases[] = {
        {"00:01:40", "00:00:00", "00:01:40", 50, 50, 1, 1},
        {"00:01:40", "00:00:50", "00:00:50", 1, 1, 111, 111},
        {"00:13:20", "00:11:40", "00:11:40", 50, 50, 193, 29},  // 192.5 -> 192
        {"00:13:20", "00:01:40", "00:05:00", 50, 50, 29, 139},  // 27.5 -> 28, 82.5 -> 82
        {"00:13:20", "00:08:20", "00:08:20", 50, 50, 139, 83},  // 137.5 -> 138
        {"00:01:40", "00:00:00", "00:01:40", 2, 3, 2, 3},      // within 1 and 2: kept
        {"00:01:40", "00:00:00", "00:01:40", 3, 4, 1, 1},      // beyond: set
        {"00:01:40", "00:01:40", "00:01:40", 1, 1, 221, 1},
        {"100:00:00", "50:00:00", "100:00:00", 1, 50, 111, 1},
        {"00:01:40", "00:00:00", "00:01:41", 50, 50, 1, 0},   // 101 %: never a negative width
        {"00:00:00", "00:00:00", "00:00:00", 50, 50, 1, 221},  // no duration: no division
    };
    for (const auto& c : cases) {
        MemorySourceList g;
        g.AddFile("/v/a.avi", c.dur, c.st, c.en, true);
        FakeBar b;
        b.left = c.w2Before, b.right = c.w3Before;
        FakePreview p;
        TSegmentMarkers m{g, b, p, pump};
        m.ShowSelectedFile();
        EXPECT_EQ(b.left, c.w2) << c.dur << " " << c.st << " " << c.en;
        EXPECT_EQ(b.right, c.w3) << c.dur << " " << c.st << " " << c.en;
        EXPECT_TRUE(m.MarkersPlaced);
        EXPECT_EQ(b.barWidths, std::vector<int>{260});
    }
}

TEST_F(MediaSegmentMarkers, PlacementSkipsThePreviewsRowAndStopsForOthers) {
    grid.AddFile("/v/a.avi", "00:01:40", "00:00:50", "", true);
    preview.file = "/v/a.avi";
    preview.active = true;
    markers.ShowSelectedFile();
    EXPECT_EQ(preview.stops, 0);
    EXPECT_FALSE(markers.MarkersPlaced);
    EXPECT_EQ(bar.left, 1);

    preview.file = "/V/A.avi";  // exact text only
    markers.ShowSelectedFile();
    EXPECT_EQ(preview.stops, 1);
    EXPECT_TRUE(markers.MarkersPlaced);
    EXPECT_EQ(markers.DurationSeconds, 100);
    EXPECT_EQ(bar.left, 111);
}

TEST_F(MediaSegmentMarkers, PlacementReadsLenientlyAndReusesThePreviousRowsNumbers) {
    grid.AddFile("/v/a.avi", "00:03:20 ", "00:01:x40", "00:03:20", true);
    grid.AddFile("/v/b.avi", "", "00:01", "", true);  // fewer than three pieces everywhere
    markers.ShowSelectedFile();
    EXPECT_EQ(markers.DurationSeconds, 200);
    EXPECT_EQ(bar.left, 111);  // 100 of 200 seconds, from the first row
    EXPECT_EQ(bar.right, 1);
    grid.rows[0].cells[colStartTime] = "00:.:00";
    EXPECT_THROW(markers.ShowSelectedFile(), ConvertError);
}

TEST_F(MediaSegmentMarkers, StartMarkerAtMiddleGivesHalfTheDuration) {
    PlacedHundredSeconds();
    preview.file = "/v/other.avi";
    preview.active = true;
    bar.left = 111;
    markers.SetStartTimeAndPlay();
    EXPECT_EQ(grid.Cell(0, colStartTime), "00:00:50");
    EXPECT_EQ(grid.Cell(0, colCutTime), "00:00:50");
    EXPECT_EQ(markers.PlayStartSeconds, 50);
    EXPECT_EQ(preview.seeks, std::vector<std::int64_t>{50000});
    EXPECT_EQ(grid.refreshCalls, 1);
    EXPECT_EQ(pump.calls, 1);
}

TEST_F(MediaSegmentMarkers, StartMarkerSeekOnlyWhenPlacedAndActiveAndIgnoresErrors) {
    PlacedHundredSeconds();
    bar.left = 111;
    markers.SetStartTimeAndPlay();  // nothing loaded
    EXPECT_TRUE(preview.seeks.empty());

    preview.active = true;
    preview.failSeek = true;
    bar.left = 46;
    EXPECT_NO_THROW(markers.SetStartTimeAndPlay());
    EXPECT_EQ(grid.Cell(0, colStartTime), "00:00:20");

    markers.MarkersPlaced = false;
    preview.seeks.clear();
    markers.SetStartTimeAndPlay();
    EXPECT_TRUE(preview.seeks.empty());
}

TEST_F(MediaSegmentMarkers, EndMarkerFullyRightGivesHundredAndOnePercent) {
    PlacedHundredSeconds("00:00:00", "00:00:30");
    bar.right = 1;
    markers.Splitter2Moved();
    EXPECT_EQ(grid.Cell(0, colEndTime), "00:01:41");
    EXPECT_EQ(markers.StopAtTime, "00:01:41");
    EXPECT_EQ(grid.Cell(0, colCutTime), "00:01:41");
    EXPECT_EQ(bar.endRepaints, 1);

    bar.right = 111;
    markers.Splitter2Moved();
    EXPECT_EQ(grid.Cell(0, colEndTime), "00:00:50");
}

TEST_F(MediaSegmentMarkers, DraggingStartToTwentySecondsLeavesCutOfForty) {
    PlacedHundredSeconds("00:00:10", "00:01:00");
    bar.left = 46;  // ((46 - 3) * 121) div 260 = 20 percent
    markers.SetStartTimeAndPlay();
    EXPECT_EQ(grid.Cell(0, colStartTime), "00:00:20");
    EXPECT_EQ(grid.Cell(0, colCutTime), "00:00:40");
}

TEST_F(MediaSegmentMarkers, TwoSelectedRowsGetTheSameBoundFromThePlacedDuration) {
    grid.AddFile("/v/a.avi", "00:01:40", "00:00:00", "", true);
    grid.AddFile("/v/b.avi", "00:10:00", "00:00:00", "", false);
    markers.ShowSelectedFile();
    grid.rows[1].selected = true;
    bar.left = 111;
    markers.SetStartTimeAndPlay();
    EXPECT_EQ(grid.Cell(0, colStartTime), "00:00:50");
    EXPECT_EQ(grid.Cell(1, colStartTime), "00:00:50");
    EXPECT_EQ(grid.Cell(1, colCutTime), "00:09:10");
    bar.right = 111;
    markers.Splitter2Moved();
    EXPECT_EQ(grid.Cell(0, colEndTime), "00:00:50");
    EXPECT_EQ(grid.Cell(1, colEndTime), "00:00:50");
    EXPECT_EQ(grid.refreshCalls, 4);
}

TEST_F(MediaSegmentMarkers, MarkersCloserThanTwentyStepBackOnePixel) {
    PlacedHundredSeconds("00:00:50", "00:00:50");  // edge to edge: 111 and 111
    ASSERT_EQ(markers.EndMarkerLeft() - markers.StartMarkerLeft(), 19);
    markers.SetStartTimeAndPlay();
    EXPECT_EQ(bar.left, 110);
    markers.Splitter2Moved();  // now 20 apart: no step
    EXPECT_EQ(bar.right, 111);

    bar.left = 1, bar.right = 221;  // both at the left end
    markers.SetStartTimeAndPlay();
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(markers.PlayStartSeconds, 0);  // -1 percent is no start
    EXPECT_EQ(grid.Cell(0, colStartTime), "00:00:00");
}

TEST_F(MediaSegmentMarkers, NudgeStepsAndConditions) {
    const MouseState left{.leftButton = true};
    const MouseState ctrl{.leftButton = true, .ctrl = true};
    const MouseState ctrlDouble{.leftButton = true, .ctrl = true, .doubleClick = true};
    const MouseState shift{.leftButton = true, .shift = true};
    const MouseState shiftDouble{.leftButton = true, .shift = true, .doubleClick = true};
    const MouseState ctrlShift{.leftButton = true, .ctrl = true, .shift = true};
    const MouseState ctrlAlt{.leftButton = true, .ctrl = true, .alt = true};
    const MouseState shiftWithRight{.leftButton = true, .rightButton = true, .shift = true};
    const MouseState right{.rightButton = true};
    const MouseState rightCtrl{.rightButton = true, .ctrl = true};
    const struct {
        const char* label;
        MouseState mouse;
        int w2, w3, w2After, w3After;
    } leftCases[] = {
        {"ctrl", ctrl, 100, 50, 99, 50},
        {"ctrl double", ctrlDouble, 100, 50, 99, 50},
        {"shift", shift, 100, 50, 90, 50},
        {"shift double", shiftDouble, 100, 50, 90, 50},
        {"plain", left, 100, 50, 95, 50},
        {"ctrl+shift", ctrlShift, 100, 50, 95, 50},
        {"ctrl+alt", ctrlAlt, 100, 50, 95, 50},
        {"shift with right held", shiftWithRight, 100, 50, 95, 50},
        {"right button", right, 100, 50, 100, 50},
        {"right button ctrl", rightCtrl, 100, 50, 100, 50},
        {"strip of 3, plain", left, 3, 50, 3, 50},
        {"strip equal to the step", left, 5, 50, 5, 50},
        {"strip of 6, plain", left, 6, 50, 1, 50},
        {"strip of 2, ctrl", ctrl, 2, 50, 1, 50},
        {"45 rule exceeded", left, 100, 116, 100, 116},
        {"45 rule met exactly", left, 100, 115, 95, 115},
    };
    for (const auto& c : leftCases) {
        MemorySourceList g;
        g.AddFile("/v/a.avi", "00:01:40", "00:00:00", "", true);
        FakeBar b;
        b.left = c.w2, b.right = c.w3;
        FakePreview p;
        TSegmentMarkers m{g, b, p, pump};
        m.DurationSeconds = 100;
        m.Panel2MouseDown(c.mouse);
        EXPECT_EQ(b.left, c.w2After) << c.label;
        EXPECT_EQ(b.right, c.w3After) << c.label;
        const bool moved = c.w2After != c.w2;
        EXPECT_EQ(b.barWidths.size(), moved ? 1u : 0u) << c.label << ": start handler ran";
        if (moved) {
            EXPECT_EQ(m.PlayStartSeconds, ((c.w2After - 3) * 121 / 260) * 100 / 100) << c.label;
        }
    }

    const struct {
        const char* label;
        MouseState mouse;
        int w2, w3, w3After;
    } rightCases[] = {
        {"ctrl", ctrl, 50, 100, 99},
        {"shift", shift, 50, 100, 90},
        {"plain", left, 50, 100, 95},
        {"right button", right, 50, 100, 100},
        {"strip of 3, plain", left, 50, 3, 3},
        {"45 rule exceeded", left, 116, 100, 100},
    };
    for (const auto& c : rightCases) {
        MemorySourceList g;
        g.AddFile("/v/a.avi", "00:01:40", "00:00:00", "", true);
        FakeBar b;
        b.left = c.w2, b.right = c.w3;
        FakePreview p;
        TSegmentMarkers m{g, b, p, pump};
        m.DurationSeconds = 100;
        m.Panel3MouseDown(c.mouse);
        EXPECT_EQ(b.right, c.w3After) << c.label;
        EXPECT_EQ(b.left, c.w2) << c.label;
        EXPECT_EQ(b.endRepaints, c.w3After != c.w3 ? 1 : 0) << c.label << ": end handler ran";
    }
}

TEST_F(MediaSegmentMarkers, ResetSetsBothStripsToTwo) {
    bar.left = 80, bar.right = 40;
    markers.ResetMarkers();
    EXPECT_EQ(bar.left, 2);
    EXPECT_EQ(bar.right, 2);
}

TEST_F(MediaSegmentMarkers, ValidationCorrectsTheEditedCells) {
    const struct {
        const char* label;
        const char* dur;
        const char* st;
        const char* en;
        const char* stAfter;
        const char* enAfter;
        const char* cut;
    } cases[] = {
        {"ordinary", "00:01:40", "00:00:10", "00:01:00", "00:00:10", "00:01:00", "00:00:50"},
        {"start after end", "00:01:40", "00:00:50", "00:00:30", "00:00:50", "00:00:50",
         "00:00:00"},
        {"end beyond duration", "00:01:40", "00:00:10", "00:02:00", "00:00:10", "00:01:40",
         "00:01:30"},
        {"start beyond duration", "00:01:40", "00:02:00", "00:01:40", "00:01:40", "00:01:40",
         "00:00:00"},
        // The end follows the start cut back to the duration, not the start as typed.
        {"start beyond duration and end", "00:01:40", "00:02:00", "00:01:00", "00:01:40",
         "00:01:40", "00:00:00"},
        {"empty start", "00:01:40", "", "00:01:00", "00:00:00", "00:01:00", "00:01:00"},
        {"empty end", "00:01:40", "00:00:10", "", "00:00:10", "00:01:40", "00:01:30"},
        {"both empty", "00:01:40", "", "", "00:00:00", "00:01:40", "00:01:40"},
        {"single digits", "00:01:40", "0:0:5", "0:1:5", "0:0:5", "0:1:5", "00:01:00"},
        {"100-hour row", "150:00:00", "100:00:00", "150:00:00", "100:00:00", "150:00:00",
         "50:00:00"},
        {"100-hour start after end", "150:00:00", "149:00:00", "120:00:00", "149:00:00",
         "149:00:00", "00:00:00"},
        {"100-hour start beyond duration", "100:00:00", "123:04:05", "100:00:00", "100:00:00",
         "100:00:00", "00:00:00"},
    };
    for (const auto& c : cases) {
        MemorySourceList g;
        g.AddFile("/v/a.avi", c.dur, c.st, c.en, true);
        g.AddFile("/v/b.avi", c.dur, c.st, c.en, false);  // not selected: untouched
        const MemorySourceList::Cells unselected = g.rows[1].cells;
        FakePreview p;
        TSegmentMarkers m{g, bar, p, pump};
        m.ValidateEditedCells();
        EXPECT_EQ(g.Cell(0, colStartTime), c.stAfter) << c.label;
        EXPECT_EQ(g.Cell(0, colEndTime), c.enAfter) << c.label;
        EXPECT_EQ(g.Cell(0, colCutTime), c.cut) << c.label;
        EXPECT_EQ(g.rows[1].cells, unselected) << c.label;
    }
}

TEST_F(MediaSegmentMarkers, ValidationOfAMalformedCellRaisesAConversionError) {
    for (const char* bad : {"00:0a:00", "00:10", "1:2:3:4", "00:00:00x"}) {
        MemorySourceList g;
        g.AddFile("/v/a.avi", "00:01:40", bad, "00:01:00", true);
        FakePreview p;
        TSegmentMarkers m{g, bar, p, pump};
        EXPECT_THROW(m.ValidateEditedCells(), ConvertError) << bad;
    }
}

TEST_F(MediaSegmentMarkers, ValidationSeeksToTheCorrectedStartAndFinishesRowsOnSeekFailure) {
    grid.AddFile("/v/a.avi", "00:01:40", "00:02:00", "00:01:40", true);
    grid.AddFile("/v/b.avi", "00:01:40", "00:00:10", "00:03:00", true);
    markers.ValidateEditedCells();  // markers never placed: no seek
    EXPECT_TRUE(preview.seeks.empty());

    markers.MarkersPlaced = true;
    preview.active = true;
    grid.rows[0].cells[colStartTime] = "00:02:00";
    grid.rows[1].cells[colEndTime] = "00:03:00";
    preview.failSeek = true;
    EXPECT_THROW(markers.ValidateEditedCells(), std::runtime_error);
    EXPECT_EQ(preview.seeks, (std::vector<std::int64_t>{100000, 10000}));
    EXPECT_EQ(grid.Cell(0, colStartTime), "00:01:40");
    EXPECT_EQ(grid.Cell(0, colCutTime), "00:00:00");
    EXPECT_EQ(grid.Cell(1, colEndTime), "00:01:40");
    EXPECT_EQ(grid.Cell(1, colCutTime), "00:01:30");
}

TEST_F(MediaSegmentMarkers, CommittingTheStartCellDropsTheFocusThenValidates) {
    grid.AddFile("/v/a.avi", "00:01:40", "", "00:01:00", true);
    grid.AddFile("/v/b.avi", "00:01:40", "00:00:10", "00:01:00", false);
    grid.focused = 0;
    markers.CommitStartCell();
    EXPECT_EQ(grid.FocusedRow(), -1);
    EXPECT_EQ(grid.Cell(0, colStartTime), "00:00:00");
    EXPECT_EQ(grid.Cell(0, colCutTime), "00:01:00");

    grid.focused = 1;  // a focused row that is not selected keeps the focus
    markers.CommitStartCell();
    EXPECT_EQ(grid.FocusedRow(), 1);
}

TEST(MediaGetCutLength, LastMatchIgnoringCaseWins) {
    MemorySourceList grid;
    EXPECT_EQ(GetCutLength(grid, "/v/a.avi"), 0);
    grid.AddFile("/v/a.avi", "00:10:00", "00:00:10", "00:01:00");
    grid.AddFile("/v/other.avi", "00:10:00", "00:00:00", "00:05:00");
    EXPECT_EQ(GetCutLength(grid, "/V/A.AVI"), 50);
    grid.AddFile("/V/A.avi", "00:10:00", "00:02:00", "00:01:00");
    EXPECT_EQ(GetCutLength(grid, "/v/a.avi"), -60);
    EXPECT_EQ(GetCutLength(grid, "/v/missing.avi"), 0);
    // A later matching cell that does not split into three keeps the value read before.
    grid.AddFile("/v/a.avi", "00:10:00", "00:01", "01:00:00");
    EXPECT_EQ(GetCutLength(grid, "/v/a.avi"), 3600 - 120);
    grid.AddFile("/v/a.avi", "00:10:00", "00:0x:00", "01:00:00");
    EXPECT_THROW(GetCutLength(grid, "/v/a.avi"), ConvertError);
}

}  // namespace
