#include "media/PreviewPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <vector>

#include "fakes/CountingMessagePump.h"
#include "fakes/FakeLogClock.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/MemorySourceList.h"
#include "storage/Errors.h"

namespace {

using Calls = std::vector<std::string>;

// Records every call but Active(); an operation named in `failing` throws instead.
class FakeGraph : public IMediaGraph {
public:
    bool active = false;
    int renderResult = 0;
    std::int64_t position = 0;
    std::int64_t duration = 100000;
    std::set<std::string> failing;
    Calls calls;

    bool Active() const override { return active; }
    void SetActive(bool value) override {
        Call(value ? "SetActive(true)" : "SetActive(false)", "SetActive");
        active = value;
    }
    void ClearFilters() override { Call("ClearFilters"); }
    int RenderFile(const std::string& path) override {
        Call("RenderFile(" + path + ")", "RenderFile");
        return renderResult;
    }
    void Run() override { Call("Run"); }
    void Pause() override { Call("Pause"); }
    void Stop() override { Call("Stop"); }
    std::int64_t CurrentPositionMs() override {
        Fail("CurrentPositionMs");
        return position;
    }
    std::int64_t DurationMs() override {
        Fail("DurationMs");
        return duration;
    }
    void SetCurrentPositionMs(std::int64_t ms) override {
        Call("Seek(" + std::to_string(ms) + ")", "Seek");
        position = ms;
    }

    // The calls made since the last Take.
    Calls Take() {
        Calls out;
        out.swap(calls);
        return out;
    }

private:
    void Fail(const std::string& name) const {
        if (failing.count(name)) throw std::runtime_error(name + " failed");
    }
    void Call(const std::string& record, const std::string& name = "") {
        calls.push_back(record);
        Fail(name.empty() ? record : name);
    }
};

class FakeView : public IPreviewView {
public:
    int logoShows = 0, logoHides = 0, trackBarResets = 0;
    bool logo = true;
    std::string clock = "00:00:00";
    std::vector<std::string> clockTexts;

    void ShowLogo(bool shown) override {
        logo = shown;
        ++(shown ? logoShows : logoHides);
    }
    void SetClockText(const std::string& text) override {
        clock = text;
        clockTexts.push_back(text);
    }
    void ResetTrackBar() override { ++trackBarResets; }
};

class NullBar : public ISegmentBar {
public:
    int LeftStripWidth() const override { return 1; }
    void SetLeftStripWidth(int) override {}
    int RightStripWidth() const override { return 1; }
    void SetRightStripWidth(int) override {}
    void SetBarWidth(int) override {}
    void RepaintEndMarker() override {}
};

const Calls kOpenA = {"SetActive(false)", "ClearFilters", "SetActive(true)", "RenderFile(/v/a.avi)",
                      "Pause", "Run"};
const Calls kStop = {"Stop", "SetActive(false)", "ClearFilters"};

class MediaPreviewPlayer : public ::testing::Test {
protected:
    FakeGraph graph;
    FakeView view;
    MemoryFileSystem files;
    FakeLogClock clock{"d", "t"};
    TAppFunc appFunc{"/app/", files, clock};
    CountingMessagePump pump;
    TPreviewPlayer player{graph, view, appFunc, pump};
    MemorySourceList grid;
    NullBar bar;
    TSegmentMarkers markers{grid, bar, player, pump};

    void SetUp() override {
        files.AddFolder("/app");
        player.SetMarkers(&markers);
    }

    std::string Log() const {
        const auto it = files.Files.find("/app/log.txt");
        return it == files.Files.end() ? "" : it->second;
    }

    // A selected /v/a.avi loaded and playing, with the call record emptied.
    void Playing() {
        grid.AddFile("/v/a.avi", "00:01:40", "00:00:00", "", true);
        player.btnPlayClick(grid);
        ASSERT_EQ(player.PreviewFile(), "/v/a.avi");
        ASSERT_TRUE(player.IsPlaying());
        graph.Take();
    }

    void ExpectIdle() const {
        EXPECT_EQ(player.PreviewFile(), "");
        EXPECT_FALSE(player.IsActive());
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_TRUE(view.logo);
        EXPECT_EQ(view.clock, "00:00:00");
    }
};

TEST_F(MediaPreviewPlayer, EveryCommandOnAnInactiveGraphDoesNothing) {
    grid.AddFile("/v/a.avi");  // listed but not selected
    player.PlayVideo();
    player.PauseVideo();
    player.StopVideo();
    player.btnPlayClick(grid);
    player.btnPauseClick();
    player.btnStopClick();
    player.dstrckbrMainformTimer();
    EXPECT_EQ(graph.Take(), Calls{});
    EXPECT_EQ(view.logoShows + view.logoHides + view.trackBarResets, 0);
    EXPECT_TRUE(view.clockTexts.empty());
    EXPECT_EQ(pump.calls, 0);
    ExpectIdle();
}

TEST_F(MediaPreviewPlayer, PlayOpensEverySelectedRowInTurn) {
    const struct {
        std::vector<bool> selected;
        std::vector<std::string> opened;
    } cases[] = {
        {{false, false, false}, {}},
        {{false, true, false}, {"/v/b.avi"}},
        {{true, false, true}, {"/v/a.avi", "/v/c.avi"}},
    };
    for (const auto& c : cases) {
        FakeGraph g;
        FakeView v;
        CountingMessagePump p;
        TPreviewPlayer pl{g, v, appFunc, p};
        MemorySourceList list;
        const char* paths[] = {"/v/a.avi", "/v/b.avi", "/v/c.avi"};
        for (int i = 0; i < 3; ++i) list.AddFile(paths[i], "00:01:40", "00:00:00", "", c.selected[i]);

        pl.btnPlayClick(list);

        Calls expected;
        for (const std::string& path : c.opened) {
            for (const char* call : {"SetActive(false)", "ClearFilters", "SetActive(true)"})
                expected.push_back(call);
            expected.push_back("RenderFile(" + path + ")");
            expected.push_back("Pause");
            expected.push_back("Run");
        }
        EXPECT_EQ(g.Take(), expected);
        EXPECT_EQ(p.calls, static_cast<int>(c.opened.size()));
        const std::string last = c.opened.empty() ? "" : c.opened.back();
        EXPECT_EQ(pl.PreviewFile(), last);
        EXPECT_EQ(pl.IsPlaying(), !c.opened.empty());
        EXPECT_EQ(g.active, !c.opened.empty());
        EXPECT_EQ(v.logo, c.opened.empty());
    }
}

TEST_F(MediaPreviewPlayer, StateTableOfTheButtons) {
    grid.AddFile("/v/a.avi", "00:01:40", "00:00:00", "", true);
    const struct {
        const char* button;
        Calls calls;
        bool playing;
        const char* file;
    } steps[] = {
        {"play", kOpenA, true, "/v/a.avi"},
        {"play", {}, true, "/v/a.avi"},        // play while playing
        {"pause", {"Pause"}, false, "/v/a.avi"},
        {"pause", {}, false, "/v/a.avi"},      // pause while paused
        {"play", {"Run"}, true, "/v/a.avi"},   // resumes, does not reopen
        {"stop", kStop, false, ""},
        {"stop", {}, false, ""},               // second stop
        {"pause", {}, false, ""},
        {"play", kOpenA, true, "/v/a.avi"},    // opens the selected row again
    };
    for (const auto& s : steps) {
        const std::string button = s.button;
        if (button == "play") player.btnPlayClick(grid);
        if (button == "pause") player.btnPauseClick();
        if (button == "stop") player.btnStopClick();
        EXPECT_EQ(graph.Take(), s.calls) << button;
        EXPECT_EQ(player.IsPlaying(), s.playing) << button;
        EXPECT_EQ(player.PreviewFile(), s.file) << button;
        EXPECT_EQ(view.logo, std::string(s.file).empty()) << button;
    }
}

TEST_F(MediaPreviewPlayer, StopResetsClockLogoAndTrackBar) {
    Playing();
    graph.position = 42000;
    player.dstrckbrMainformTimer();
    ASSERT_EQ(view.clock, "00:00:42");
    player.StopVideo();
    ExpectIdle();
    EXPECT_EQ(view.trackBarResets, 1);
    player.StopVideo();
    EXPECT_EQ(view.trackBarResets, 1);
}

TEST_F(MediaPreviewPlayer, StartOffsetOnlyOnceMarkersWerePlaced) {
    const struct {
        bool placed;
        std::int64_t start;
        Calls after;
    } cases[] = {
        {false, 30, {}},
        {true, 30, {"Seek(30000)"}},
        {true, 0, {"Seek(0)"}},
    };
    for (const auto& c : cases) {
        markers.MarkersPlaced = c.placed;
        markers.PlayStartSeconds = c.start;
        player.OpenAndPlayVideo("/v/a.avi");
        Calls expected = kOpenA;
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(graph.Take(), expected) << c.start;
        EXPECT_TRUE(player.IsPlaying());
    }
}

TEST_F(MediaPreviewPlayer, WithoutMarkersAttachedNoOffsetAndNoRewind) {
    markers.MarkersPlaced = true;
    markers.PlayStartSeconds = 30;
    markers.StopAtTime = "00:00:00";
    player.SetMarkers(nullptr);
    player.OpenAndPlayVideo("/v/a.avi");
    EXPECT_EQ(graph.Take(), kOpenA);
    player.dstrckbrMainformTimer();
    EXPECT_EQ(graph.Take(), Calls{});
    EXPECT_TRUE(player.IsPlaying());
}

TEST_F(MediaPreviewPlayer, ClockShowsWholeSecondsOfThePosition) {
    Playing();
    const struct {
        std::int64_t ms;
        const char* clock;
    } cases[] = {
        {0, "00:00:00"},       {999, "00:00:00"},        {1000, "00:00:01"},
        {59999, "00:00:59"},   {3723999, "01:02:03"},    {-1500, "00:00:00"},
        {360000000, "100:00:00"},
    };
    graph.duration = 400000000;
    for (const auto& c : cases) {
        graph.position = c.ms;
        player.dstrckbrMainformTimer();
        EXPECT_EQ(view.clock, c.clock) << c.ms;
    }
    EXPECT_EQ(graph.Take(), Calls{});
    player.btnPauseClick();
    graph.position = 5000;
    player.dstrckbrMainformTimer();
    EXPECT_EQ(view.clock, "00:00:05");  // ticks while paused too
}

TEST_F(MediaPreviewPlayer, TickWithoutAPositionChangesNothing) {
    Playing();
    graph.failing = {"CurrentPositionMs"};
    player.dstrckbrMainformTimer();
    EXPECT_TRUE(view.clockTexts.empty());
    EXPECT_EQ(graph.Take(), Calls{});
}

TEST_F(MediaPreviewPlayer, StopAtTimeRewindsToTheStartAndPauses) {
    markers.StopAtTime = "00:01:00";
    Playing();
    graph.position = 59999;
    player.dstrckbrMainformTimer();
    EXPECT_EQ(graph.Take(), Calls{});
    graph.position = 60500;
    player.dstrckbrMainformTimer();
    EXPECT_EQ(graph.Take(), (Calls{"Seek(0)", "Pause"}));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.PreviewFile(), "/v/a.avi");
    EXPECT_FALSE(view.logo);
    player.btnPlayClick(grid);  // continues from the start
    EXPECT_EQ(graph.Take(), Calls{"Run"});
    EXPECT_TRUE(player.IsPlaying());
}

TEST_F(MediaPreviewPlayer, StopAtTimeWhilePausedStaysPaused) {
    markers.StopAtTime = "00:01:00";
    Playing();
    player.btnPauseClick();
    graph.Take();
    graph.position = 60000;
    player.dstrckbrMainformTimer();
    EXPECT_EQ(graph.Take(), (Calls{"Seek(0)", "Pause"}));
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(MediaPreviewPlayer, StopAtTimeAtTheVeryStartPausesEveryTick) {
    markers.StopAtTime = "00:00:00";
    Playing();
    for (int tick = 0; tick < 2; ++tick) {
        player.btnPlayClick(grid);
        graph.position = 400;
        player.dstrckbrMainformTimer();
        EXPECT_FALSE(player.IsPlaying()) << tick;
    }
    EXPECT_EQ(graph.Take(), (Calls{"Seek(0)", "Pause", "Run", "Seek(0)", "Pause"}));
}

TEST_F(MediaPreviewPlayer, EmptyStopAtTimeNeverRewinds) {
    Playing();
    graph.position = 0;
    player.dstrckbrMainformTimer();
    EXPECT_EQ(graph.Take(), Calls{});
    EXPECT_TRUE(player.IsPlaying());
}

TEST_F(MediaPreviewPlayer, EndOfFileStopsAndUnloads) {
    Playing();
    graph.position = 99999;
    player.dstrckbrMainformTimer();
    EXPECT_EQ(graph.Take(), Calls{});
    graph.position = 100000;
    player.dstrckbrMainformTimer();
    Calls expected = {"Seek(0)"};
    expected.insert(expected.end(), kStop.begin(), kStop.end());
    EXPECT_EQ(graph.Take(), expected);
    ExpectIdle();
    player.btnPlayClick(grid);  // reloads the selected row
    EXPECT_EQ(graph.Take(), kOpenA);
}

TEST_F(MediaPreviewPlayer, EndOfFileStopsEvenWhenTheRewindFails) {
    Playing();
    graph.failing = {"Seek"};
    graph.position = 100000;
    player.dstrckbrMainformTimer();
    ExpectIdle();
}

TEST_F(MediaPreviewPlayer, UnknownDurationNeverStops) {
    const std::int64_t durations[] = {0, -1};
    for (std::int64_t d : durations) {
        Playing();
        graph.duration = d;
        graph.position = 5000;
        player.dstrckbrMainformTimer();
        EXPECT_EQ(graph.Take(), Calls{}) << d;
        EXPECT_EQ(view.clock, "00:00:05");
        player.StopVideo();
        grid.rows.clear();
    }
    Playing();
    graph.failing = {"DurationMs"};
    graph.position = 200000;
    player.dstrckbrMainformTimer();
    EXPECT_EQ(view.clock, "00:03:20");
    EXPECT_EQ(player.PreviewFile(), "/v/a.avi");
}

TEST_F(MediaPreviewPlayer, FailedOpenLogsOnceAndLeavesThePreviewIdle) {
    const struct {
        const char* name;
        int result;
        bool throws;
    } cases[] = {{"result", 1, false}, {"negative result", -13, false}, {"throws", 0, true}};
    for (const auto& c : cases) {
        Playing();  // another file was playing: it is gone now
        graph.renderResult = c.result;
        if (c.throws) graph.failing = {"RenderFile"};
        player.OpenAndPlayVideo("/v/gone.avi");
        EXPECT_EQ(graph.Take(), (Calls{"SetActive(false)", "ClearFilters", "SetActive(true)",
                                       "RenderFile(/v/gone.avi)", "SetActive(false)",
                                       "ClearFilters"}))
            << c.name;
        EXPECT_EQ(Log(), "Dunmarrow d t|Playing Video error.\r\n") << c.name;
        ExpectIdle();
        EXPECT_EQ(pump.calls, 1) << c.name;  // only the open of /v/a.avi pumped
        grid.rows.clear();
        files.Files.clear();
        graph.renderResult = 0;
        graph.failing.clear();
        pump.calls = 0;
    }
}

TEST_F(MediaPreviewPlayer, FailedOpenAmongSeveralRowsKeepsOpeningTheRest) {
    grid.AddFile("/v/a.avi", "00:01:40", "00:00:00", "", true);
    grid.AddFile("/v/gone.avi", "00:01:40", "00:00:00", "", true);
    grid.AddFile("/v/c.avi", "00:01:40", "00:00:00", "", false);
    graph.failing = {"RenderFile"};
    player.btnPlayClick(grid);
    EXPECT_EQ(Log(), "Dunmarrow d t|Playing Video error.\r\nDunmarrow d t|Playing Video error.\r\n");
    ExpectIdle();
}

TEST_F(MediaPreviewPlayer, UnwritableLogReachesTheCallerWithThePlayerIdle) {
    Playing();
    files.Folders.clear();  // the program folder is gone
    graph.renderResult = 1;
    EXPECT_THROW(player.OpenAndPlayVideo("/v/gone.avi"), FileError);
    ExpectIdle();
    EXPECT_EQ(view.trackBarResets, 1);
}

TEST_F(MediaPreviewPlayer, FailingFirstStepsEndTheOpenSilently) {
    for (const char* step : {"SetActive", "ClearFilters"}) {
        graph.failing = {step};
        player.OpenAndPlayVideo("/v/a.avi");
        const Calls calls = graph.Take();
        EXPECT_TRUE(std::find(calls.begin(), calls.end(), "RenderFile(/v/a.avi)") == calls.end())
            << step;
        EXPECT_EQ(Log(), "") << step;
        EXPECT_EQ(view.logoShows + view.logoHides, 0) << step;
        EXPECT_EQ(player.PreviewFile(), "") << step;
    }
}

TEST_F(MediaPreviewPlayer, GraphErrorsShowTheLogo) {
    Playing();
    const struct {
        const char* failing;
        const char* button;
        bool playing;
        const char* file;
    } cases[] = {
        {"Pause", "pause", true, "/v/a.avi"},   // pause refused: still playing, logo shown
        {"Stop", "stop", true, "/v/a.avi"},     // stop refused: nothing else changes
        {"SetActive", "stop", true, "/v/a.avi"},
    };
    for (const auto& c : cases) {
        graph.failing = {c.failing};
        view.logo = false;
        const std::string button = c.button;
        if (button == "pause") player.btnPauseClick();
        if (button == "stop") player.btnStopClick();
        EXPECT_TRUE(view.logo) << c.failing;
        EXPECT_EQ(player.IsPlaying(), c.playing) << c.failing;
        EXPECT_EQ(player.PreviewFile(), c.file) << c.failing;
        EXPECT_EQ(view.clockTexts, std::vector<std::string>{}) << c.failing;
    }
    graph.failing = {};
    graph.active = true;
    player.btnPauseClick();
    graph.failing = {"Run"};
    view.logo = false;
    player.btnPlayClick(grid);
    EXPECT_TRUE(view.logo);
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(MediaPreviewPlayer, OpenThatCannotRunKeepsTheLogoAndCanBePlayedAgain) {
    grid.AddFile("/v/a.avi", "00:01:40", "00:00:00", "", true);
    graph.failing = {"Run"};
    player.btnPlayClick(grid);
    EXPECT_EQ(graph.Take(), kOpenA);
    EXPECT_TRUE(view.logo);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.PreviewFile(), "/v/a.avi");
    EXPECT_EQ(pump.calls, 0);
    graph.failing = {};
    player.btnPlayClick(grid);
    EXPECT_EQ(graph.Take(), Calls{"Run"});
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_FALSE(view.logo);
}

TEST_F(MediaPreviewPlayer, FailingStartSeekShowsTheLogo) {
    markers.MarkersPlaced = true;
    markers.PlayStartSeconds = 30;
    graph.failing = {"Seek"};
    player.OpenAndPlayVideo("/v/a.avi");
    EXPECT_TRUE(view.logo);
    EXPECT_EQ(player.PreviewFile(), "/v/a.avi");
    EXPECT_EQ(Log(), "");
}

TEST_F(MediaPreviewPlayer, StopDuringTheOpensMessagesStaysStopped) {
    markers.MarkersPlaced = true;
    markers.PlayStartSeconds = 30;
    pump.onPump = [&] { player.btnStopClick(); };
    player.OpenAndPlayVideo("/v/a.avi");
    Calls expected = kOpenA;
    expected.insert(expected.end(), kStop.begin(), kStop.end());
    EXPECT_EQ(graph.Take(), expected);  // no seek on the emptied graph
    ExpectIdle();
}

TEST_F(MediaPreviewPlayer, MarkersStopThePreviewForAnotherRowAndSeekThroughIt) {
    Playing();
    grid.rows[0].selected = false;
    grid.AddFile("/v/b.avi", "00:01:40", "00:00:00", "", true);
    markers.ShowSelectedFile();
    EXPECT_EQ(graph.Take(), kStop);
    ExpectIdle();
    player.btnPlayClick(grid);
    graph.Take();
    // The bar keeps its 1-pixel strips, so the start marker gives 0 seconds.
    markers.SetStartTimeAndPlay();
    EXPECT_EQ(graph.Take(), Calls{"Seek(0)"});
}

}  // namespace
