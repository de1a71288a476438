// The preview player over the real libmpv graph, as the main window runs it: the posted tasks
// are served whenever the window would let its messages run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "fakes/MemorySourceList.h"
#include "media/PreviewPlayer.h"
#include "platform/MpvMediaGraph.h"
#include "platform/TestFolder.h"
#include "platform/TestPosters.h"
#include "storage/MessagePump.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class ServingPump : public IMessagePump {
public:
    explicit ServingPump(QueuePoster& gui) : gui_(gui) {}
    void ProcessMessages() override { gui_.Drain(); }

private:
    QueuePoster& gui_;
};

class RecordingView : public IPreviewView {
public:
    bool logo = true;
    std::string clock = "00:00:00";
    void ShowLogo(bool shown) override { logo = shown; }
    void SetClockText(const std::string& text) override { clock = text; }
    void ResetTrackBar() override {}
};

class FixedClock : public ILogClock {
public:
    std::string ShortDate() const override { return "d"; }
    std::string LongTime() const override { return "t"; }
};

class PlatformMpvPreviewPlayer : public ::testing::Test {
protected:
    TestFolder folder{"kestrava-preview"};
    QueuePoster gui;
    ServingPump pump{gui};
    MpvGraphOptions options = [] {
        MpvGraphOptions o;
        o.audioOutput = "null";
        return o;
    }();
    MpvMediaGraph graph{gui, options};
    RecordingView view;
    FixedClock clock;
    TAppFunc appFunc{folder.Path().string(), DefaultFileSystem(), clock};
    TPreviewPlayer player{graph, view, appFunc, pump};

    fs::path MakeClip(const std::string& name) {
        const fs::path clip = folder.Path() / name;
        const std::string command =
            "ffmpeg -v error -nostdin -y -f lavfi -i testsrc=size=160x120:rate=25:duration=3 "
            "-f lavfi -i sine=duration=3 -c:v mpeg4 -c:a aac -shortest '" + clip.string() + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("no clip: " + command);
        return clip;
    }

    // Ticks the clock every 100 ms (the window: every second) until `done`.
    bool TickUntil(const std::function<bool()>& done, std::chrono::seconds limit = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            gui.Drain();
            player.dstrckbrMainformTimer();
            std::this_thread::sleep_for(100ms);
        }
        return true;
    }

    std::string Log() const {
        std::ifstream in(folder.Path() / "log.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(PlatformMpvPreviewPlayer, PlaysSeeksAndUnloadsItselfAtTheEnd) {
    const fs::path clip = MakeClip("clip.mkv");
    player.OpenAndPlayVideo(clip.string());
    ASSERT_EQ(player.PreviewFile(), clip.string());
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_FALSE(view.logo);
    EXPECT_TRUE(TickUntil([&] { return view.clock == "00:00:01"; }));

    player.btnPauseClick();
    player.SetPlayPosition(2000);
    player.dstrckbrMainformTimer();
    EXPECT_EQ(view.clock, "00:00:02");

    MemorySourceList list;
    list.AddFile(clip.string(), "00:00:03", "00:00:00", "", true);
    player.btnPlayClick(list);  // resumes the loaded file
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_TRUE(TickUntil([&] { return player.PreviewFile().empty(); }));
    EXPECT_FALSE(graph.Active());
    EXPECT_TRUE(view.logo);
    EXPECT_EQ(view.clock, "00:00:00");
    EXPECT_EQ(Log(), "");
}

TEST_F(PlatformMpvPreviewPlayer, ADeletedFileIsLoggedAndShowsNothing) {
    const fs::path clip = MakeClip("gone.mkv");
    fs::remove(clip);
    player.OpenAndPlayVideo(clip.string());
    EXPECT_EQ(Log(), "Dunmarrow d t|Playing Video error.\r\n");
    EXPECT_EQ(player.PreviewFile(), "");
    EXPECT_FALSE(graph.Active());
    EXPECT_TRUE(view.logo);
}

}  // namespace
